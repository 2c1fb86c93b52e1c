#include "core/store/FileIo.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace dolvane {
namespace {

std::string Describe(const std::filesystem::path& path, int errorNumber)
{
    return path.string() + ": " + std::strerror(errorNumber);
}

// Closes a descriptor on every path out of a function.
class FileDescriptor final {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const noexcept { return fd_; }
    int Release() noexcept { return std::exchange(fd_, -1); }

private:
    int fd_;
};

std::int64_t ModifiedNanoseconds(const struct stat& status)
{
    return static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
}

std::filesystem::path TemporaryPathBeside(const std::filesystem::path& path)
{
    std::random_device random;
    const auto suffix = std::to_string(random()) + std::to_string(::getpid());
    std::filesystem::path temporary = path;
    temporary += ".tmp-" + suffix;
    return temporary;
}

}  // namespace

ssize_t WriteSystemCalls::Write(int fd, const void* data, std::size_t size)
{
    return ::write(fd, data, size);
}

int WriteSystemCalls::DataSync(int fd)
{
    return ::fdatasync(fd);
}

int WriteSystemCalls::Rename(const char* from, const char* to)
{
    return std::rename(from, to);
}

std::optional<FileContents> ReadWholeFile(const std::filesystem::path& path, FileError& error)
{
    FileContents contents;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (errno == ENOENT) {
            return contents;
        }
        error.message = Describe(path, errno);
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0) {
        error.message = Describe(path, errno);
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        error.message = path.string() + ": not a regular file";
        return std::nullopt;
    }
    contents.bytes.resize(static_cast<std::size_t>(status.st_size));
    std::size_t done = 0;
    for (;;) {
        if (done == contents.bytes.size()) {
            contents.bytes.resize(done + 65536);  // the file may have grown since fstat
        }
        const ssize_t got = ::read(fd.Get(), contents.bytes.data() + done, contents.bytes.size() - done);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            error.message = Describe(path, errno);
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    contents.bytes.resize(done);
    contents.fingerprint.exists = true;
    contents.fingerprint.size = done;
    contents.fingerprint.modifiedNanoseconds = ModifiedNanoseconds(status);
    contents.fingerprint.hash = std::hash<std::string_view>{}(contents.bytes);
    return contents;
}

FileFingerprint FingerprintOfWritten(const std::filesystem::path& path, std::string_view bytes)
{
    FileFingerprint fingerprint;
    fingerprint.exists = true;
    fingerprint.size = bytes.size();
    fingerprint.hash = std::hash<std::string_view>{}(bytes);
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        fingerprint.modifiedNanoseconds = ModifiedNanoseconds(status);
    }
    return fingerprint;
}

std::optional<FileFingerprint> FingerprintOf(const std::filesystem::path& path, FileError& error)
{
    auto contents = ReadWholeFile(path, error);
    if (!contents) {
        return std::nullopt;
    }
    return contents->fingerprint;
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    lines.reserve(text.size() / 64);
    const char* const end = text.data() + text.size();
    const char* lineStart = text.data();
    // memchr finds each LF at memory speed, and a CR is looked for only before the next LF, so
    // the usual CR LF costs one short extra scan. The next LF is kept while lone CRs end lines
    // before it, so a file of CR-only line ends is still read in one pass.
    const char* lf = nullptr;
    while (lineStart != end) {
        if (lf == nullptr || lf < lineStart) {
            const auto* found =
                static_cast<const char*>(std::memchr(lineStart, '\n', static_cast<std::size_t>(end - lineStart)));
            lf = found != nullptr ? found : end;
        }
        const auto* cr =
            static_cast<const char*>(std::memchr(lineStart, '\r', static_cast<std::size_t>(lf - lineStart)));
        const char* lineEnd = cr != nullptr ? cr : lf;
        lines.emplace_back(lineStart, static_cast<std::size_t>(lineEnd - lineStart));
        if (lineEnd == end) {
            break;
        }
        // CR LF is one line end.
        lineStart = (cr != nullptr && cr + 1 == lf && lf != end) ? lf + 1 : lineEnd + 1;
    }
    return lines;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, FileError& error,
                         WriteSystemCalls* calls)
{
    WriteSystemCalls defaultCalls;
    WriteSystemCalls& system = calls != nullptr ? *calls : defaultCalls;

    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::error_code folderError;
    std::filesystem::create_directories(folder, folderError);
    if (folderError) {
        error.message = folder.string() + ": " + folderError.message();
        return false;
    }

    const std::filesystem::path temporary = TemporaryPathBeside(path);
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.Get() < 0) {
        error.message = Describe(temporary, errno);
        return false;
    }
    const auto fail = [&](int errorNumber) {
        error.message = Describe(path, errorNumber);
        ::close(fd.Release());
        ::unlink(temporary.c_str());
        return false;
    };

    // Keep the permissions of the file being replaced (a user may have made it private).
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        ::fchmod(fd.Get(), existing.st_mode & 07777);
    }

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = system.Write(fd.Get(), bytes.data() + written, bytes.size() - written);
        if (result < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(errno);
        }
        if (result == 0) {
            return fail(ENOSPC);  // a write that makes no progress: the disk is full
        }
        written += static_cast<std::size_t>(result);
    }
    if (system.DataSync(fd.Get()) != 0) {
        return fail(errno);
    }
    if (::close(fd.Release()) != 0) {
        const int closeError = errno;
        ::unlink(temporary.c_str());
        error.message = Describe(path, closeError);
        return false;
    }
    if (system.Rename(temporary.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(temporary.c_str());
        error.message = Describe(path, renameError);
        return false;
    }
    // The rename is durable only once the folder's entry is on disk.
    FileDescriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.Get() >= 0) {
        ::fsync(folderFd.Get());
    }
    return true;
}

}  // namespace dolvane
