#include "platform/PosixPrivateFolder.h"

#include "platform/FileDescriptor.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace dolvane {
namespace {

// Writes all of `size` bytes, again after an interruption or a short write.
bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = ENOSPC;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Copies what is left to read of `in` into `out`.
bool CopyBytes(int in, int out)
{
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0;
        }
        if (!WriteAll(out, buffer, static_cast<std::size_t>(got))) {
            return false;
        }
    }
}

// Gives `temporary` the name `name` in the folder `folder`; without `replace` only when the name
// is free, in one step, so that nothing put there meanwhile is replaced.
bool TakeName(int folder, const char* temporary, const char* name, bool replace)
{
    if (replace) {
        return ::renameat(folder, temporary, folder, name) == 0;
    }
    if (::renameat2(folder, temporary, folder, name, RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without the flag: a hard link fails just as well on a taken name.
    if (::linkat(folder, temporary, folder, name, 0) != 0) {
        return false;
    }
    ::unlinkat(folder, temporary, 0);
    return true;
}

}  // namespace

std::unique_ptr<PrivateFolder> PosixPrivateFolder::Open(const std::filesystem::path& folder, FileError& error)
{
    return OpenAt(AT_FDCWD, folder, folder, error);
}

PosixPrivateFolder::~PosixPrivateFolder()
{
    ::close(fd_);
}

std::unique_ptr<PrivateFolder> PosixPrivateFolder::Folder(std::string_view name, FileError& error)
{
    const std::filesystem::path child(name);
    return OpenAt(fd_, child, path_ / child, error);
}

std::unique_ptr<PrivateFolder> PosixPrivateFolder::OpenAt(int at, const std::filesystem::path& name,
                                                          const std::filesystem::path& shown, FileError& error)
{
    FileDescriptor fd(::openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ELOOP) {
            error.message = shown.string() + ": リンクになっているフォルダには書き込みません";
        } else if (errno != ENOENT) {
            error.message = Describe(shown, errno);
        }
        return nullptr;
    }
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0) {
        error.message = Describe(shown, errno);
        return nullptr;
    }
    // Root may write anywhere anyway; any other account that can write here could swap what is
    // copied, or read the list.
    if ((status.st_uid != ::geteuid() && status.st_uid != 0) || (status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        error.message = shown.string() + ": 他のユーザーも書き込めるフォルダには書き込みません";
        return nullptr;
    }
    return std::unique_ptr<PrivateFolder>(new PosixPrivateFolder(fd.Release(), shown));
}

bool PosixPrivateFolder::CopyIn(const std::filesystem::path& from, std::string_view name, std::optional<unsigned> mode,
                                bool replace, FileError& error)
{
    const std::filesystem::path target = path_ / std::filesystem::path(name);
    FileDescriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat source {};
    if (in.Get() < 0 || ::fstat(in.Get(), &source) != 0) {
        error.message = Describe(from, errno);
        return false;
    }
    if (!S_ISREG(source.st_mode)) {
        error.message = from.string() + ": 通常のファイルではありません";
        return false;
    }
    std::random_device random;
    const std::string temporary =
        std::string(name) + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(random());
    // A new file of its own, private until complete: never an existing path, never through a link.
    FileDescriptor out(::openat(fd_, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (out.Get() < 0) {
        error.message = Describe(target, errno);
        return false;
    }
    const mode_t finalMode = mode ? static_cast<mode_t>(*mode) : (source.st_mode & 0755);
    const bool written = CopyBytes(in.Get(), out.Get()) && ::fchmod(out.Get(), finalMode) == 0 &&
                         ::fdatasync(out.Get()) == 0 && ::close(out.Release()) == 0 &&
                         TakeName(fd_, temporary.c_str(), std::string(name).c_str(), replace);
    if (!written) {
        error.message = errno == EEXIST ? target.string() + ": 既にあるため、コピーしません" : Describe(target, errno);
        ::unlinkat(fd_, temporary.c_str(), 0);
        return false;
    }
    ::fsync(fd_);
    return true;
}

}  // namespace dolvane
