#include "platform/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace dolvane {

SingleInstance::SingleInstance(const QString& title, const QString& folder)
{
    QString directory = folder;
    if (directory.isEmpty()) {
        directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    }
    if (directory.isEmpty()) {
        directory = QDir::tempPath();
    }
    QDir().mkpath(directory);
    lock_ = std::make_unique<QLockFile>(QDir(directory).filePath(title + QStringLiteral(".lock")));
    // A running instance holds its lock for days: never judge a lock stale by its age, only by
    // whether its process still lives.
    lock_->setStaleLockTime(0);
}

bool SingleInstance::TryAcquire()
{
    return lock_->isLocked() || lock_->tryLock(0);
}

bool SingleInstance::Held() const
{
    return lock_->isLocked();
}

QString SingleInstance::LockPath() const
{
    return lock_->fileName();
}

}  // namespace dolvane
