// The list's pop-up menu and the commands it shares with the main menu. Entries are enabled
// each time the menu opens, from what the model says at that moment.
#include "ui/MainWindow.h"

#include "ui/list/ToDoListView.h"
#include "ui/widgets/ButtonGlyph.h"
#include "ui/widgets/MenuWidth.h"

#include <QAction>
#include <QMenu>
#include <QStatusBar>

namespace dolvane {

void TVelkDolvane::showListMenu(const QPoint& position)
{
    const auto state = model_->List().PopupMenuOpening();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("PopupMenu1"));
    KeepMenuTextsWhole(&menu);
    QAction* inherit = menu.addAction(QStringLiteral("継承して新規作成(&R)"));
    inherit->setObjectName(QStringLiteral("N9"));
    inherit->setStatusTip(QStringLiteral("選択したToDoの情報から新しいToDoを作成 "));
    inherit->setIcon(ImageListIcon(style(), 14));
    inherit->setEnabled(state.deleteRow);
    connect(inherit, &QAction::triggered, this, [this] {
        model_->Editing().InheritNew();
        listView_->setFocus();
    });
    QAction* notes = menu.addAction(QStringLiteral("付箋の作成"));
    notes->setObjectName(QStringLiteral("FusenMenu"));
    notes->setStatusTip(QStringLiteral("ピマロに作成させる"));
    notes->setIcon(ImageListIcon(style(), 2));
    notes->setEnabled(model_->Notes().Available());
    connect(notes, &QAction::triggered, this, [this] { model_->Notes().Create(); });
    QAction* sortSave = menu.addAction(QStringLiteral("現在の順序で保存"));
    sortSave->setObjectName(QStringLiteral("SortSaveMenu"));
    sortSave->setStatusTip(QStringLiteral("ToDoリストを現在の並び順で保存する"));
    sortSave->setEnabled(state.sortSave);
    connect(sortSave, &QAction::triggered, this, [this] { model_->Apply(); });
    menu.addSeparator();
    QAction* csv = menu.addAction(QStringLiteral("CSV形式で保存"));
    csv->setObjectName(QStringLiteral("CSV1"));
    csv->setStatusTip(QStringLiteral("選択したリストの内容を書き出す"));
    csv->setIcon(ImageListIcon(style(), 5));
    connect(csv, &QAction::triggered, this, [this] { model_->List().ExportCsv(); });
    QAction* enclose = menu.addAction(QStringLiteral("文字列を二重引用符で囲む"));
    enclose->setObjectName(QStringLiteral("N6"));
    enclose->setCheckable(true);
    enclose->setChecked(state.enclose);
    enclose->setIcon(ImageListIcon(style(), state.enclose ? 9 : 8));
    connect(enclose, &QAction::triggered, this, [this] { model_->List().ToggleCsvEnclosing(); });
    menu.addSeparator();
    QAction* remove = menu.addAction(QStringLiteral("削除(&D)"));
    remove->setObjectName(QStringLiteral("Delete1"));
    remove->setShortcut(QKeySequence::Delete);
    remove->setEnabled(state.deleteRow);
    remove->setIcon(ImageListIcon(style(), 0));
    connect(remove, &QAction::triggered, this, [this] { model_->List().DeleteSelected(); });
    // The menu is a window of its own, so its hints never reach this window's status bar by
    // themselves; they are shown there as the main menu's are.
    connect(&menu, &QMenu::hovered, this,
            [this](const QAction* action) { statusBar()->showMessage(action->statusTip()); });
    menu.exec(listView_->viewport()->mapToGlobal(position));
    statusBar()->clearMessage();
}

void TVelkDolvane::connectCellEdit()
{
    // The second press of a double click has started a drag: it ends before the dialog takes the
    // mouse, so the list holds no grab while the dialog is open.
    connect(listView_, &QAbstractItemView::doubleClicked, this, [this] {
        listView_->EndDrag();
        model_->CellEdit().EditClickedCell();
    });
    connect(listView_, &ToDoListView::cellEditRequested, this,
            [this](int column) { model_->CellEdit().EditColumn(column); });
}

}  // namespace dolvane
