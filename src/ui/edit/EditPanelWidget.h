#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace dolvane {

class EditPanel;
class PanelCommands;
enum class CalendarMode : std::int32_t;

// The editing panel ("Panel1") under the list: a field and an include box per editable field,
// the keeping period, "経過率" and the command buttons. It shows what the model's EditPanel
// holds and hands every edit to the model.
class EditPanelWidget final : public QWidget {
    Q_OBJECT

public:
    EditPanelWidget(PanelCommands& model, QWidget* parent = nullptr);

    // Copies the model's panel into the widgets (texts, include boxes, Replace, caption colour).
    void ShowPanel();
    // Enables "適用" and "元に戻す" from the store state.
    void ShowStoreState();

    // The keeping period's spinner follows the settings (without telling them back).
    void ShowKeepDays(int days);
    // The calendar buttons follow the calendar: its mode, the step buttons enabled while it is shown.
    void ShowCalendarButtons(bool shown, CalendarMode mode);
    // The lower area is hidden while the list area is expanded.
    void SetExpanded(bool expanded);

    QCheckBox* ElapsedRateBox() const { return elapsedRateBox_; }
    QSpinBox* KeepDaysEdit() const { return keepDaysEdit_; }

Q_SIGNALS:
    void addClicked();
    void replaceClicked();
    void applyClicked();
    void undoClicked();
    void calendarToggled(bool shown);
    void calendarModeClicked();
    void calendarStepClicked(bool forward);
    void expandToggled(bool expanded);
    // A right click on a date button: the field (a PanelField) takes the calendar's selected day.
    void dateFromCalendarRequested(int field);

private:
    void createTopStrip();
    void createCalendarButtons(QHBoxLayout* strip);
    void createLowerLeftBlock();
    void createTaskBlock();
    void nameFields();
    void connectField(int key, QWidget* field);
    void fieldEdited(int key, const QString& text);
    QCheckBox* makeIncludeBox(int key, const QString& caption, const QString& hint);
    QToolButton* makeDateButton(int key, const char* name, const QString& caption);

    PanelCommands& model_;
    bool showing_ = false;  // set while the widgets are filled from the model

    std::array<QCheckBox*, 9> includeBoxes_{};
    QLineEdit* startEdit_ = nullptr;
    QLineEdit* deadlineEdit_ = nullptr;
    QLineEdit* completedEdit_ = nullptr;
    QComboBox* importanceCombo_ = nullptr;
    QComboBox* executorCombo_ = nullptr;
    QComboBox* categoryCombo_ = nullptr;
    QSpinBox* progressEdit_ = nullptr;
    QSpinBox* warningEdit_ = nullptr;
    QLabel* warningPreview_ = nullptr;
    QSpinBox* keepDaysEdit_ = nullptr;
    QCheckBox* elapsedRateBox_ = nullptr;
    QPlainTextEdit* taskMemo_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* replaceButton_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QToolButton* undoButton_ = nullptr;
    QWidget* lowerArea_ = nullptr;
    QToolButton* calendarButton_ = nullptr;
    QToolButton* modeButton_ = nullptr;
    QToolButton* backButton_ = nullptr;
    QToolButton* forwardButton_ = nullptr;
    QToolButton* expandButton_ = nullptr;
};

}  // namespace dolvane
