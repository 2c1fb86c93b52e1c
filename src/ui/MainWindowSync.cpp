// ツール > 同期: the pass runs on a worker thread, so the window keeps painting and answering
// while the server is talked to; the model starts and finishes it on the window's thread.
#include "ui/MainWindow.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QThread>

namespace dolvane {

void TVelkDolvane::startSync()
{
    SyncCommand& command = model_->Sync();
    const auto list = command.Start();
    if (!list) {
        return;
    }
    syncAction_->setEnabled(false);
    if (syncRunning_ == nullptr) {
        syncRunning_ = new QLabel(QStringLiteral("同期しています…"));
        syncRunning_->setObjectName(QStringLiteral("SyncRunning"));
        statusBar()->addPermanentWidget(syncRunning_);
    }
    syncRunning_->show();
    // The report is handed over once the thread has ended (finished comes through the window's
    // event loop).
    auto report = std::make_shared<SyncReport>();
    syncWorker_ = QThread::create([&command, listFile = *list, report] { *report = command.Run(listFile); });
    connect(syncWorker_, &QThread::finished, this, [this, report] { finishSync(*report); });
    syncWorker_->start();
}

void TVelkDolvane::finishSync(const SyncReport& report)
{
    syncWorker_->wait();
    delete syncWorker_;
    syncWorker_ = nullptr;
    syncRunning_->hide();
    model_->Sync().Finish(report);
    syncAction_->setEnabled(model_->Sync().Enabled());
    if (closeAfterSync_) {
        closeAfterSync_ = false;
        close();
    }
}

}  // namespace dolvane
