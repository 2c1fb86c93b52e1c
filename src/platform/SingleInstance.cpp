#include "platform/SingleInstance.h"

#include "platform/SiblingChannel.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dolvane {

SingleInstance::SingleInstance(const QString& title)
{
    RuntimeFolder folder = UserRuntimeFolder();
    if (folder.path.empty()) {
        problem_ = std::move(folder.problem);
        return;
    }
    const QByteArray name =
        QFile::encodeName(title + QLatin1Char('-') + QString::number(::geteuid()) + QStringLiteral(".lock"));
    path_ = folder.path / std::string(name.constData(), static_cast<std::size_t>(name.size()));
}

SingleInstance::~SingleInstance()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

SingleInstance::Outcome SingleInstance::TryAcquire()
{
    if (fd_ >= 0) {
        return Outcome::Acquired;
    }
    if (path_.empty()) {
        return Outcome::CannotLock;  // problem_ holds why since construction
    }
    // O_NOFOLLOW: a link in place of the lock must not make us create or lock a file elsewhere.
    // O_NONBLOCK: nor may a FIFO there hold up the start.
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int error = errno;
        problem_ = path_.string() + (error == ELOOP ? std::string(" はシンボリックリンクです")
                                                    : ": " + std::string(std::strerror(error)));
        return Outcome::CannotLock;
    }
    // Only a lock file of our own can tell that our own instance holds it.
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) {
        ::close(fd);
        problem_ = path_.string() + " はこのユーザーのロックファイルではありません";
        return Outcome::CannotLock;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            return Outcome::AlreadyRunning;
        }
        problem_ = path_.string() + ": " + std::strerror(error);
        return Outcome::CannotLock;
    }
    problem_.clear();
    fd_ = fd;
    return Outcome::Acquired;
}

QString SingleInstance::LockPath() const
{
    return QFile::decodeName(path_.c_str());
}

}  // namespace dolvane
