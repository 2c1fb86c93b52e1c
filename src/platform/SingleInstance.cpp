#include "platform/SingleInstance.h"

#include "platform/SiblingChannel.h"

#include <QFile>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dolvane {
namespace {

std::string FileName(const QString& text)
{
    const QByteArray name = QFile::encodeName(text);
    return {name.constData(), static_cast<std::size_t>(name.size())};
}

// 64-bit FNV-1a in 16 hex digits: a file name for a path of any length.
std::string PathHash(const std::string& path)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char byte : path) {
        hash = (hash ^ static_cast<unsigned char>(byte)) * 0x100000001b3ULL;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return digits;
}

}  // namespace

SingleInstance::SingleInstance(const QString& title, const std::filesystem::path& listFile,
                               const std::filesystem::path& home)
{
    // Two installations whose list is one file through a link are one list.
    std::error_code error;
    std::filesystem::path list = std::filesystem::weakly_canonical(std::filesystem::absolute(listFile), error);
    if (error) {
        list = std::filesystem::absolute(listFile).lexically_normal();
    }
    std::filesystem::path beside = list;
    beside += FileName(QLatin1Char('.') + title + QStringLiteral(".lock"));
    places_.push_back({list.parent_path(), beside});
    if (!home.empty()) {
        const std::filesystem::path cache = home / ".cache" / "dolvane";
        places_.push_back({cache, cache / FileName(title + QLatin1Char('-') + QString::fromStdString(PathHash(list)) +
                                                   QStringLiteral(".lock"))});
    }
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
    problem_.clear();
    // The first place that can hold a lock of ours decides. Which one that is depends only on
    // the folders, which every start of the user sees alike.
    for (const Place& place : places_) {
        Outcome outcome = Outcome::CannotLock;
        if (TryPlace(place, outcome)) {
            return outcome;
        }
    }
    if (places_.size() < 2) {
        AddProblem("ホームフォルダーがありません");
    }
    return Outcome::CannotLock;
}

bool SingleInstance::TryPlace(const Place& place, Outcome& outcome)
{
    const auto note = [this](const std::string& problem) {
        AddProblem(problem);
        return false;
    };
    // The list's folder is made at the first save anyway; the cache folder is ours alone.
    std::error_code ignored;
    std::filesystem::create_directories(place.folder.parent_path(), ignored);
    if (::mkdir(place.folder.c_str(), S_IRWXU) != 0 && errno != EEXIST) {
        return note(place.folder.string() + ": " + std::strerror(errno));
    }
    if (std::string problem = PrivateFolderProblem(place.folder); !problem.empty()) {
        return note(problem);
    }
    // O_NOFOLLOW: a link in place of the lock must not make us create or lock a file elsewhere.
    // O_NONBLOCK: nor may a FIFO there hold up the start.
    const int fd =
        ::open(place.file.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int error = errno;
        return note(place.file.string() + (error == ELOOP ? std::string(" はシンボリックリンクです")
                                                          : ": " + std::string(std::strerror(error))));
    }
    // Only a lock file of our own can tell that our own instance holds it.
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) {
        ::close(fd);
        return note(place.file.string() + " はこのユーザーのロックファイルではありません");
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK) {
            return note(place.file.string() + ": " + std::strerror(error));
        }
        outcome = Outcome::AlreadyRunning;
    } else {
        outcome = Outcome::Acquired;
        fd_ = fd;
    }
    path_ = place.file;
    problem_.clear();
    return true;
}

void SingleInstance::AddProblem(const std::string& problem)
{
    problem_ += problem_.empty() ? problem : "\n" + problem;
}

QString SingleInstance::LockPath() const
{
    return QFile::decodeName(path_.c_str());
}

}  // namespace dolvane
