#include "ui/MainWindow.h"
#include "ui/calendar/CalendarView.h"
#include "ui/edit/EditPanelWidget.h"
#include "ui/list/ToDoListModel.h"
#include "ui/widgets/Cp932Text.h"

#include <QStatusBar>

// The window repainting what the model's notices name.
namespace dolvane {

void TVelkDolvane::RowsReset()
{
    if (listModel_ != nullptr) {
        listModel_->Reset();
        applySelectionFromModel();
    }
}

void TVelkDolvane::RowsChanged()
{
    if (listModel_ != nullptr && listModel_->rowCount() > 0) {
        listModel_->RowsChanged(0, listModel_->rowCount() - 1);
        applySelectionFromModel();
    }
}

void TVelkDolvane::StoreStateChanged()
{
    if (editPanel_ != nullptr) {
        editPanel_->ShowStoreState();
    }
}

void TVelkDolvane::PanelChanged()
{
    if (editPanel_ != nullptr) {
        editPanel_->ShowPanel();
    }
}

void TVelkDolvane::SettingsChanged()
{
    ApplyTabPositions();
    if (editPanel_ != nullptr) {
        editPanel_->ShowKeepDays(model_->CurrentSettings().KeepDays);
    }
    // The bars' colours and the week steps are read at the next paint and step.
    if (calendarView_ != nullptr && model_->Calendar().Shown()) {
        calendarView_->Grid()->update();
    }
}

void TVelkDolvane::CalendarChanged()
{
    if (editPanel_ != nullptr) {
        editPanel_->ShowCalendarButtons(model_->Calendar().Shown(), model_->Calendar().Model().ViewMode());
    }
    if (calendarView_ != nullptr && model_->Calendar().Shown()) {
        calendarView_->ShowCalendar();
        statusBar()->showMessage(FromCp932(model_->Calendar().StatusText()));
    }
}

}  // namespace dolvane
