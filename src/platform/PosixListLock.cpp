#include "platform/FileDescriptor.h"
#include "platform/PosixFileSystem.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// The list's lock: the one lock file beside the list that every writer, the window and
// dolvane-cli alike, holds from before its check of the file to after its save.
namespace dolvane {
namespace {

constexpr int kLockPollMilliseconds = 10;

// The lock file's descriptor: closing it releases the lock.
class FlockedFile final : public FileLock {
public:
    explicit FlockedFile(int fd) : fd_(fd) {}
    ~FlockedFile() override { ::close(fd_); }
    FlockedFile(const FlockedFile&) = delete;
    FlockedFile& operator=(const FlockedFile&) = delete;

private:
    int fd_;
};

// A new lock file belongs to whoever owns the list (its folder while there is none), so that a
// save by root leaves the owner a lock file of their own. Where the owner cannot be given
// away, everyone may read it, and so lock it.
void GiveToListOwner(int fd, const std::filesystem::path& list, const std::filesystem::path& folder)
{
    struct stat owner {};
    if (::stat(list.c_str(), &owner) != 0 && ::stat(folder.c_str(), &owner) != 0) {
        return;
    }
    if ((owner.st_uid != ::geteuid() || owner.st_gid != ::getegid()) && ::fchown(fd, owner.st_uid, owner.st_gid) != 0) {
        ::fchmod(fd, 0644);
    }
}

}  // namespace

std::unique_ptr<FileLock> PosixFileSystem::LockListFile(const std::filesystem::path& listFile, FileError& error,
                                                        int waitMilliseconds)
{
    const std::filesystem::path target = SaveTargetOf(listFile);
    std::filesystem::path lockPath = target;
    lockPath += ".lock";
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    // The lock file is never renamed or removed, so every writer locks the same file. It is only
    // ever opened for reading, which is all flock needs: whoever may read it can lock it, so a
    // lock file made by another account (root running a script) does not shut the owner out.
    bool created = true;
    int opened = ::open(lockPath.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (opened < 0 && errno == EEXIST) {
        created = false;
        opened = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    }
    FileDescriptor fd(opened);
    // What the user can do about a lock file that is not one: remove it, and the next save makes
    // a new one.
    const auto removeIt = [&](std::string_view why) {
        error.message = std::string(why) + "。このロックファイルを削除して下さい: " + lockPath.string();
    };
    struct stat status {};
    if (fd.Get() < 0) {
        if (errno == ELOOP) {
            removeIt("ロックファイルがリンクになっています");
        } else if (errno == EACCES) {
            removeIt(std::string("ロックファイルを開けません (") + std::strerror(EACCES) + ")");
        } else {
            error.message = Describe(lockPath, errno);
        }
        return nullptr;
    }
    if (::fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        removeIt("ロックファイルが通常のファイルではありません");
        return nullptr;
    }
    if (created) {
        GiveToListOwner(fd.Get(), target, folder);
    }
    // Measured on the clock: a window serving its events between two tries may take longer than
    // the pause it asked for.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    LockWaiting* const waiting = Waiting();
    bool paused = false;
    std::unique_ptr<FileLock> lock;
    for (;;) {
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0) {
            lock = std::make_unique<FlockedFile>(fd.Release());
            break;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            error.message = Describe(lockPath, errno);
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            error.message = listFile.string() + ": 他のプログラムが保存中のため、保存できませんでした";
            break;
        }
        if (waiting != nullptr) {
            waiting->Pause(kLockPollMilliseconds);
            paused = true;
        } else {
            ::usleep(kLockPollMilliseconds * 1000);
        }
    }
    if (paused) {
        waiting->Over();
    }
    return lock;
}

}  // namespace dolvane
