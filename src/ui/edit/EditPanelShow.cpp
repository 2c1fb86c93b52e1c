#include "core/app/CalendarController.h"
#include "core/app/PanelCommands.h"
#include "core/time/TimeTexts.h"
#include "ui/edit/EditPanelWidget.h"
#include "ui/widgets/Cp932Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include <utility>

// The panel showing what the model holds: the fields of the selected row, the store state, the
// keeping period and the calendar's buttons. The building of the widgets is in EditPanelWidget.cpp.
namespace dolvane {

void EditPanelWidget::ShowKeepDays(int days)
{
    const QSignalBlocker blocker(keepDaysEdit_);
    keepDaysEdit_->setValue(days);
}

void EditPanelWidget::ShowCalendarButtons(bool shown, CalendarMode mode)
{
    const QSignalBlocker blocker(calendarButton_);
    calendarButton_->setChecked(shown);
    for (QToolButton* button : {modeButton_, backButton_, forwardButton_}) {
        button->setEnabled(shown);
    }
    modeButton_->setText(QString::fromUtf8(CalendarController::ModeCaption(mode)));
    modeButton_->setToolTip(QString::fromUtf8(CalendarController::ModeHint(mode)));
    modeButton_->setStatusTip(modeButton_->toolTip());
    modeButton_->setAccessibleName(modeButton_->toolTip());
}

void EditPanelWidget::ShowPanel()
{
    const EditPanel& panel = model_.Panel();
    showing_ = true;
    const auto text = [&panel](PanelField field) { return FromCp932(panel.Text(field)); };
    // A field holding a character that cannot be stored shows what the user typed, not the model.
    const auto follows = [&panel](const QString& shown, PanelField field) {
        return panel.Unstorable(field).empty() && !ShowsCp932(shown, panel.Text(field));
    };
    startEdit_->setText(text(PanelField::Start));
    deadlineEdit_->setText(text(PanelField::Deadline));
    completedEdit_->setText(text(PanelField::Completed));
    for (QComboBox* combo : {importanceCombo_, executorCombo_, categoryCombo_}) {
        const PanelField field = combo == importanceCombo_ ? PanelField::Importance
                                 : combo == executorCombo_ ? PanelField::Executor
                                                           : PanelField::Category;
        if (follows(combo->currentText(), field)) {
            combo->setEditText(text(field));
        }
    }
    const auto fillHistory = [](QComboBox* combo, const ComboHistory& history) {
        for (int i = combo->count(); i < static_cast<int>(history.Items().size()); ++i) {
            const QString edit = combo->currentText();
            combo->addItem(FromCp932(history.Items()[static_cast<std::size_t>(i)]));
            combo->setEditText(edit);
        }
    };
    fillHistory(executorCombo_, model_.Executors());
    fillHistory(categoryCombo_, model_.Categories());
    for (const auto& [spin, field] :
         {std::pair{progressEdit_, PanelField::Progress}, std::pair{warningEdit_, PanelField::WarningHours}}) {
        if (spin->text() != text(field)) {
            spin->setValue(text(field).toInt());
            // A field the row leaves empty shows empty, not as the spin's 0.
            if (text(field).isEmpty()) {
                spin->findChild<QLineEdit*>()->clear();
            }
        }
    }
    if (follows(taskMemo_->toPlainText(), PanelField::Task)) {
        taskMemo_->setPlainText(text(PanelField::Task));
    }
    for (int key = 0; key < kPanelFieldCount; ++key) {
        includeBoxes_[static_cast<std::size_t>(key)]->setChecked(panel.Included(static_cast<PanelField>(key)));
    }
    QPalette caption = includeBoxes_[static_cast<std::size_t>(static_cast<int>(PanelField::Task))]->palette();
    caption.setColor(QPalette::WindowText, panel.TaskCaptionRed() ? Qt::red : palette().color(QPalette::WindowText));
    includeBoxes_[static_cast<std::size_t>(static_cast<int>(PanelField::Task))]->setPalette(caption);
    warningPreview_->setText(QStringLiteral(" ") + FromCp932(WarningPeriodText(panel.WarningHoursValue())));
    replaceButton_->setEnabled(panel.ReplaceEnabled());
    showing_ = false;
}

void EditPanelWidget::ShowStoreState()
{
    applyButton_->setEnabled(model_.State().UnsavedChanges);
    undoButton_->setEnabled(model_.State().UndoAvailable);
}

}  // namespace dolvane
