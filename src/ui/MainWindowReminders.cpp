// What a click on a reminder does to the window.
#include "ui/MainWindow.h"
#include "ui/list/ToDoListModel.h"
#include "ui/list/ToDoListView.h"

#include <QItemSelectionModel>

namespace dolvane {

void TVelkDolvane::ShowNotifiedToDo(quint32 notificationId)
{
    // Even a summary, or a to-do that has left the view, brings the window up: the user asked
    // to see the list.
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
    // During a save's wait for the list's lock the rows are not to be touched.
    if (lockWait_.Waiting() || !model_->ShowNotifiedToDo(notificationId)) {
        return;
    }
    applySelectionFromModel();
    const auto& rows = model_->Rows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (rows[row].Selected) {
            const QModelIndex index = listModel_->index(static_cast<int>(row), 0);
            listView_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
            listView_->scrollTo(index);
            break;
        }
    }
}

}  // namespace dolvane
