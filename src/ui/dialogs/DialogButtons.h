#pragma once

class QDialog;
class QString;
class QWidget;

namespace dolvane {

// The strip at the foot of the program's small dialogs: "OK" (`OKBtn`, the default button,
// accepts) and "キャンセル" (`CancelBtn`, rejects) on the right. The caller places it.
QWidget* OkCancelStrip(QDialog* dialog, const QString& objectName);

}  // namespace dolvane
