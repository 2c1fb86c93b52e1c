#include "core/store/FileIo.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace dolvane {
namespace {

constexpr std::string_view kNotRegularFile = "通常のファイルではありません";
constexpr std::string_view kTemporaryMarker = ".tmp-";
constexpr int kLockPollMilliseconds = 10;

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

// "<file>.tmp-<pid>-<random>": the writer's process id lets a later load tell a temporary file
// of a killed save from one being written right now.
std::filesystem::path TemporaryPathBeside(const std::filesystem::path& path)
{
    std::random_device random;
    std::filesystem::path temporary = path;
    temporary += std::string(kTemporaryMarker) + std::to_string(::getpid()) + "-" + std::to_string(random());
    return temporary;
}

// The file a save replaces: the target of a symbolic link (so the link stays a link), the path
// itself otherwise. A link whose target is missing is an error rather than a new file.
std::optional<std::filesystem::path> SaveTarget(const std::filesystem::path& path, FileError& error)
{
    std::error_code code;
    const auto status = std::filesystem::symlink_status(path, code);
    if (code || !std::filesystem::is_symlink(status)) {
        return path;
    }
    auto target = std::filesystem::canonical(path, code);
    if (code) {
        error.message = path.string() + ": リンク先のファイルがありません";
        return std::nullopt;
    }
    return target;
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
    // Without blocking: a named pipe in the file's place would wait for a writer forever. Only
    // regular files are read.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
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
        error.message = path.string() + ": " + std::string(kNotRegularFile);
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

std::vector<std::string_view> LineEnds(std::string_view text, const std::vector<std::string_view>& lines)
{
    std::vector<std::string_view> ends;
    ends.reserve(lines.size());
    const char* const textEnd = text.data() + text.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const char* from = lines[i].data() + lines[i].size();
        const char* to = i + 1 < lines.size() ? lines[i + 1].data() : textEnd;
        ends.emplace_back(from, static_cast<std::size_t>(to - from));
    }
    return ends;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, FileError& error,
                         WriteSystemCalls* calls)
{
    WriteSystemCalls defaultCalls;
    WriteSystemCalls& system = calls != nullptr ? *calls : defaultCalls;

    const auto resolved = SaveTarget(path, error);
    if (!resolved) {
        return false;
    }
    const std::filesystem::path& target = *resolved;
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::error_code folderError;
    std::filesystem::create_directories(folder, folderError);
    if (folderError) {
        error.message = folder.string() + ": " + folderError.message();
        return false;
    }

    // What the replaced file was: only a regular file is replaced, one its owner made read-only
    // is left alone (root could write it), and the new file keeps its owner, group and mode.
    struct stat existing {};
    const bool exists = ::lstat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        error.message = target.string() + ": " + std::string(kNotRegularFile);
        return false;
    }
    if (exists && ((existing.st_mode & S_IWUSR) == 0 || ::access(target.c_str(), W_OK) != 0)) {
        error.message = target.string() + ": 書き込みが許可されていないため、保存しません";
        return false;
    }
    mode_t mode = 0;
    if (exists) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    const std::filesystem::path temporary = TemporaryPathBeside(target);
    // Private until it is complete: nobody reads half a list, whatever the final mode.
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (fd.Get() < 0) {
        error.message = Describe(temporary, errno);
        return false;
    }
    const auto fail = [&](int errorNumber) {
        error.message = Describe(target, errorNumber);
        ::close(fd.Release());
        ::unlink(temporary.c_str());
        return false;
    };
    if (exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) &&
        ::fchown(fd.Get(), existing.st_uid, existing.st_gid) != 0) {
        ::close(fd.Release());
        ::unlink(temporary.c_str());
        error.message = target.string() + ": 所有者を保てないため、保存しません";
        return false;
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
    if (::fchmod(fd.Get(), mode) != 0) {
        return fail(errno);
    }
    if (system.DataSync(fd.Get()) != 0) {
        return fail(errno);
    }
    if (::close(fd.Release()) != 0) {
        const int closeError = errno;
        ::unlink(temporary.c_str());
        error.message = Describe(target, closeError);
        return false;
    }
    if (system.Rename(temporary.c_str(), target.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(temporary.c_str());
        error.message = Describe(target, renameError);
        return false;
    }
    // The rename is durable only once the folder's entry is on disk.
    FileDescriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.Get() >= 0) {
        ::fsync(folderFd.Get());
    }
    return true;
}

std::filesystem::path SaveTargetOf(const std::filesystem::path& path)
{
    FileError ignored;
    return SaveTarget(path, ignored).value_or(path);
}

void RemoveStaleTemporaryFiles(const std::filesystem::path& path)
{
    const std::filesystem::path target = SaveTargetOf(path);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const std::string prefix = target.filename().string() + std::string(kTemporaryMarker);
    std::error_code code;
    for (std::filesystem::directory_iterator entry(folder, code), end; !code && entry != end; entry.increment(code)) {
        const std::string name = entry->path().filename().string();
        if (name.rfind(prefix, 0) != 0) {
            continue;
        }
        // Only names this program makes, "<pid>-<digits>", and only when that process is gone.
        const std::string_view rest = std::string_view(name).substr(prefix.size());
        const auto dash = rest.find('-');
        if (dash == std::string_view::npos || dash == 0 || dash + 1 == rest.size() ||
            rest.find_first_not_of("0123456789-") != std::string_view::npos ||
            rest.find('-', dash + 1) != std::string_view::npos) {
            continue;
        }
        const long pid = std::strtol(std::string(rest.substr(0, dash)).c_str(), nullptr, 10);
        if (pid <= 0 || pid == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) {
            continue;
        }
        struct stat status {};
        if (::lstat(entry->path().c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid()) {
            ::unlink(entry->path().c_str());
        }
    }
}

ListFileLock::ListFileLock(const std::filesystem::path& listFile, FileError& error, int waitMilliseconds)
{
    const std::filesystem::path target = SaveTargetOf(listFile);
    std::filesystem::path lockPath = target;
    lockPath += ".lock";
    std::error_code code;
    std::filesystem::create_directories(target.has_parent_path() ? target.parent_path() : ".", code);
    // The lock file is never renamed or removed, so every writer locks the same file.
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd_ < 0) {
        error.message = Describe(lockPath, errno);
        return;
    }
    for (int waited = 0;; waited += kLockPollMilliseconds) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            error.message = Describe(lockPath, errno);
            break;
        }
        if (waited >= waitMilliseconds) {
            error.message = listFile.string() + ": 他のプログラムが保存中のため、保存できませんでした";
            break;
        }
        ::usleep(kLockPollMilliseconds * 1000);
    }
    ::close(fd_);
    fd_ = -1;
}

ListFileLock::~ListFileLock()
{
    if (fd_ >= 0) {
        ::close(fd_);  // closing the descriptor releases the lock
    }
}

}  // namespace dolvane
