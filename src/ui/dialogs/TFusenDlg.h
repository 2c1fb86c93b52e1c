#pragma once

#include <QColor>
#include <QDialog>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <string>

class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QFrame;
class QTimeEdit;

namespace dolvane {

// Declared only: moc cannot read the C++20 headers behind the core's DateTime, and a declaration
// needs no complete parameter type. Settings is declared only as well, so that the store headers
// behind it stay out of what moc reads.
struct DateTime;
struct Settings;
struct StickyNoteFields;

class ColourBarShape;

// What the dialog is opened for.
enum class FusenLayout { Settings = 0, Picker = 1, StickyNote };

// The small modal dialog of the program, laid out for one use: the settings, the date-time
// picker of the editing panel (a day, a time of day and a box that clears the field), or the
// fields of sticky notes. Fixed size;
// OK accepts, Cancel and Escape reject. Only the widgets of its own layout exist; the accessors of
// the others give null.
class TFusenDlg final : public QDialog {
    Q_OBJECT

public:
    // Asks the user for a colour, starting at `initial`, in a window titled `title`. Nothing when
    // the user cancels.
    using ColourChooser = std::function<std::optional<QColor>(QColor initial, const QString& title)>;

    TFusenDlg(QWidget* owner, FusenLayout layout);

    QDateEdit* DatePicker() const { return datePicker_; }
    QTimeEdit* TimePicker() const { return timePicker_; }
    QCheckBox* ClearBox() const { return clearBox_; }

    // CheckBox1 to CheckBox5 of the sticky-note layout, `number` 1 to 5.
    QCheckBox* StickyNoteBox(int number) const;

    QButtonGroup* MainTabButtons() const { return mainTabButtons_; }
    QButtonGroup* CategoryTabButtons() const { return categoryTabButtons_; }
    QCheckBox* CaseSensitiveBox() const { return caseSensitiveBox_; }
    QCheckBox* WeekStepBox() const { return weekStepBox_; }
    QCheckBox* RemindersBox() const { return remindersBox_; }
    QColor BarFill() const;
    QColor BarFrame() const;
    int BarOutline() const;
    void SetBarColours(QColor fill, QColor frame);
    // The platform's colour dialog unless replaced.
    void SetColourChooser(ColourChooser chooser);

    // Opens the colour bar while `panelPoint` (Panel1 coordinates) is within its frame and closes
    // it otherwise. Timer1 calls it with the pointer's position.
    void HoverAt(QPoint panelPoint);

private:
    QWidget* createPickerPanel();
    QWidget* createSettingsPanel();
    QWidget* createStickyNotePanel();
    QButtonGroup* addTabGroup(QBoxLayout* layout, const QString& objectName, const QString& caption,
                              const QStringList& items);
    void startHoverTimer();
    void chooseBarColourAt(QPoint barPoint);

    QDateEdit* datePicker_ = nullptr;
    QTimeEdit* timePicker_ = nullptr;
    QCheckBox* clearBox_ = nullptr;

    std::array<QCheckBox*, 5> noteBoxes_{};

    QWidget* settingsPanel_ = nullptr;
    QButtonGroup* mainTabButtons_ = nullptr;
    QButtonGroup* categoryTabButtons_ = nullptr;
    QCheckBox* caseSensitiveBox_ = nullptr;
    QCheckBox* weekStepBox_ = nullptr;
    QCheckBox* remindersBox_ = nullptr;
    QFrame* barFrame_ = nullptr;
    ColourBarShape* bar_ = nullptr;
    ColourChooser chooseColour_;
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

// Lets the user edit the tab positions, the search and week-step choices, the two calendar bar
// colours and the reminders switch of `current`. On OK gives `current` with those seven values replaced (the rest
// untouched), on Cancel nothing, whatever was chosen in between.
std::optional<Settings> EditSettings(QWidget* owner, const Settings& current);

// The same with `interact` run in place of the modal loop; it ends by calling accept() or reject().
std::optional<Settings> EditSettings(QWidget* owner, const Settings& current,
                                     const std::function<void(TFusenDlg&)>& interact);

// Asks which fields go into sticky notes, starting from the defaults each time: the choice on OK,
// nothing on Cancel.
std::optional<StickyNoteFields> ChooseStickyNoteFields(QWidget* owner);

// The same with `interact` run in place of the modal loop; it ends by calling accept() or reject().
std::optional<StickyNoteFields> ChooseStickyNoteFields(QWidget* owner, const std::function<void(TFusenDlg&)>& interact);

}  // namespace dolvane
