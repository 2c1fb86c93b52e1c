// The main menu of TVelkDolvane. Items whose commands come with later parts of the window are
// present but disabled, so the menu already reads as it will.
#include "ui/MainWindow.h"

#include "ui/list/ToDoListView.h"
#include "ui/widgets/ButtonGlyph.h"
#include "ui/widgets/MenuWidth.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMenuBar>
#include <QMessageBox>
#include <QUrl>

namespace dolvane {
namespace {

// Adds an item; the status tip is the long hint the status bar shows while it is highlighted.
QAction* AddItem(QMenu* menu, const char16_t* caption, const char* name, const char16_t* hint = nullptr)
{
    QAction* action = menu->addAction(QString::fromUtf16(caption));
    action->setObjectName(QString::fromLatin1(name));
    if (hint != nullptr) {
        action->setStatusTip(QString::fromUtf16(hint));
    }
    return action;
}

QMenu* AddMenu(QMenuBar* bar, const char16_t* caption, const char* name)
{
    QMenu* menu = bar->addMenu(QString::fromUtf16(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

}  // namespace

void TVelkDolvane::createMenus()
{
    QMenuBar* bar = menuBar();

    QMenu* file = AddMenu(bar, u"ファイル(&F)", "File1");
    QMenu* toDoFiles = file->addMenu(QStringLiteral("ToDo管理"));
    toDoFiles->setObjectName(QStringLiteral("ToDo1"));
    connect(AddItem(toDoFiles, u"Load", "Load1"), &QAction::triggered, this, [this] { model_->Files().Import(); });
    QAction* exportToDo = AddItem(toDoFiles, u"Save", "Save1");
    connect(exportToDo, &QAction::triggered, this, [this] { model_->Files().Export(); });
    connect(file, &QMenu::aboutToShow, this,
            [this, exportToDo] { exportToDo->setEnabled(model_->Files().ExportEnabled()); });
    file->addSeparator();
    connect(AddItem(file, u"終了(&X)", "Exit1"), &QAction::triggered, this, &QWidget::close);

    QMenu* edit = AddMenu(bar, u"編集(&E)", "Edit1");
    QAction* selectAll = AddItem(edit, u"全て選択(&A)", "A1");
    selectAll->setIcon(ImageListIcon(style(), 6));
    connect(selectAll, &QAction::triggered, this, [this] {
        model_->List().SelectAll();
        listView_->setFocus();
    });

    QMenu* tools = AddMenu(bar, u"ツール", "Tool1");
    QAction* merge = AddItem(tools, u"ピマロに統合", "PimaloMenu");
    merge->setVisible(model_->Files().MergeVisible());
    connect(merge, &QAction::triggered, this, [this] { model_->Files().Merge(); });
    connect(tools, &QMenu::aboutToShow, this, [this, merge] { merge->setVisible(model_->Files().MergeVisible()); });
    connect(AddItem(tools, u"検索(&S)", "Find1"), &QAction::triggered, this, &TVelkDolvane::findText);
    syncAction_ = AddItem(tools, u"同期(&Y)", "Sync1", u"ToDoリストをサーバーのToDoと同期します");
    syncAction_->setEnabled(model_->Sync().Enabled());
    connect(syncAction_, &QAction::triggered, this, &TVelkDolvane::startSync);
    connect(tools, &QMenu::aboutToShow, this, [this] { syncAction_->setEnabled(model_->Sync().Enabled()); });
    tools->addSeparator();
    QAction* settings = AddItem(tools, u"設定(&T)", "N5");
    settings->setIcon(ImageListIcon(style(), 10));
    connect(settings, &QAction::triggered, this, [this] { model_->Session().EditInDialog(); });

    QMenu* help = AddMenu(bar, u"ヘルプ(&H)", "Help1");
    connect(AddItem(help, u"ヘルプ", "Help2"), &QAction::triggered, this, [this] {
        const QString page = QFile::decodeName(QByteArray::fromStdString(model_->Files().HelpPage().string()));
        // A missing page is the desktop's to report, as for any document it is asked to open. Without
        // a browser (or xdg-open) nothing would happen at all: then the page's path is shown.
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page))) {
            QMessageBox::information(this, QStringLiteral("ヘルプ"),
                                     QStringLiteral("ヘルプを開くブラウザが見つかりません。\n"
                                                    "ヘルプは次のファイルです。ブラウザで開いてください。\n\n") +
                                         page);
        }
    });
    help->addSeparator();
    connect(AddItem(help, u"バージョン(&A)", "N4"), &QAction::triggered, this, &TVelkDolvane::showVersion);
    for (QMenu* menu : bar->findChildren<QMenu*>()) {
        KeepMenuTextsWhole(menu);
    }
}

void TVelkDolvane::showVersion()
{
    QMessageBox::about(this, QStringLiteral("バージョン情報"),
                       QStringLiteral("Dolvane ") + QApplication::applicationVersion());
}

}  // namespace dolvane
