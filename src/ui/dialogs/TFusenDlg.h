#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QDateEdit;
class QTimeEdit;

namespace dolvane {

// Declared only: moc cannot read the C++20 headers behind the core's DateTime, and a declaration
// needs no complete parameter type.
struct DateTime;

// The small modal dialog of the editing panel, here in its picker layout: a day, a time of day
// and a box that clears the field. Fixed size; OK accepts, Cancel and Escape reject.
class TFusenDlg final : public QDialog {
    Q_OBJECT

public:
    explicit TFusenDlg(QWidget* owner);

    QDateEdit* DatePicker() const { return datePicker_; }
    QTimeEdit* TimePicker() const { return timePicker_; }
    QCheckBox* ClearBox() const { return clearBox_; }

private:
    QWidget* createPickerPanel();
    QWidget* createButtonStrip();

    QDateEdit* datePicker_ = nullptr;
    QTimeEdit* timePicker_ = nullptr;
    QCheckBox* clearBox_ = nullptr;
};

// Asks for a new moment for a date field holding `fieldText` (cp932, "" or "yyyy/mm/dd hh:nn").
// Gives the field's new text: the picked moment, "" when cleared, `fieldText` itself on Cancel.
// Gives nothing when `fieldText` cannot be read: the error box has been shown and the field keeps
// its text.
std::optional<std::string> PickDateTime(QWidget* owner, const std::string& fieldText, const QString& caption,
                                        DateTime now);

// The same with `interact` run in place of the modal loop; it ends by calling accept() or reject().
std::optional<std::string> PickDateTime(QWidget* owner, const std::string& fieldText, const QString& caption,
                                        DateTime now, const std::function<void(TFusenDlg&)>& interact);

}  // namespace dolvane
