#pragma once

#include <QString>

class QSpinBox;
class QWidget;

namespace dolvane {

// A hint "short|long": the short part is the tooltip, the long part what the status bar shows
// while the pointer rests on the widget. A hint without a bar gives both the same text.
void SetHint(QWidget* widget, const QString& hint);

// A number field with its spin arrows in one widget: `fieldHint` over the number and
// `arrowsHint` over the arrows, each "short|long".
void SetSpinHints(QSpinBox* spin, const QString& fieldHint, const QString& arrowsHint);

// What a screen reader calls the button that opens a date picker titled `pickerCaption`
// ("開始日時の設定" gives "開始日時を選ぶ").
QString PickerButtonName(const QString& pickerCaption);

}  // namespace dolvane
