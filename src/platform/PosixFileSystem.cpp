#include "platform/PosixFileSystem.h"

#include "platform/FileDescriptor.h"
#include "platform/PosixPrivateFolder.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <random>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace dolvane {
namespace {

constexpr std::string_view kNotRegularFile = "通常のファイルではありません";
constexpr std::string_view kTooLarge = "ファイルが大きすぎます (256 MiB まで)";
constexpr std::string_view kNoMemory = "ファイルを読み込むためのメモリが足りません";
constexpr std::string_view kTemporaryMarker = ".tmp-";

std::int64_t ModifiedNanosecondsOf(const struct stat& status)
{
    return static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
}

FileStamp StampOfStatus(const struct stat& status)
{
    FileStamp stamp;
    stamp.inode = static_cast<std::uint64_t>(status.st_ino);
    stamp.size = static_cast<std::uint64_t>(status.st_size);
    stamp.modifiedNanoseconds = ModifiedNanosecondsOf(status);
    return stamp;
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

ssize_t PosixFileSystem::Write(int fd, const void* data, std::size_t size)
{
    return ::write(fd, data, size);
}

int PosixFileSystem::DataSync(int fd)
{
    return ::fdatasync(fd);
}

int PosixFileSystem::Rename(const char* from, const char* to)
{
    return std::rename(from, to);
}

namespace {

// Opens a file for reading without ever blocking (a named pipe in its place would wait for a
// writer forever) and checks that it is a regular file. -1 with `missing` set when there is no
// file, -1 with `error` set on any other failure.
int OpenRegularFile(const std::filesystem::path& path, struct stat& status, bool& missing, FileError& error)
{
    missing = false;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.Get() < 0) {
        missing = errno == ENOENT;
        if (!missing) {
            error.message = Describe(path, errno);
        }
        return -1;
    }
    if (::fstat(fd.Get(), &status) != 0) {
        error.message = Describe(path, errno);
        return -1;
    }
    if (!S_ISREG(status.st_mode)) {
        error.message = path.string() + ": " + std::string(kNotRegularFile);
        return -1;
    }
    if (static_cast<std::uint64_t>(status.st_size) > FileSystem::kLargestReadableFile) {
        error.message = path.string() + ": " + std::string(kTooLarge);
        return -1;
    }
    return fd.Release();
}

// read(2) of up to `size` bytes, again when interrupted: how many came (0 at the end), or -1.
ssize_t ReadSome(int fd, char* into, std::size_t size)
{
    for (;;) {
        const ssize_t got = ::read(fd, into, size);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

constexpr std::size_t kReadThroughPiece = std::size_t{1} << 18;

}  // namespace

std::optional<FileContents> PosixFileSystem::ReadWholeFile(const std::filesystem::path& path, FileError& error)
{
    FileContents contents;
    struct stat status {};
    bool missing = false;
    const FileDescriptor fd(OpenRegularFile(path, status, missing, error));
    if (fd.Get() < 0) {
        return missing ? std::optional<FileContents>(contents) : std::nullopt;
    }
    std::size_t done = 0;
    try {
        // One byte more than fstat said, so that reading a file that did not grow ends at that byte
        // without making the buffer larger (and copying the whole file once more).
        contents.bytes.resize(static_cast<std::size_t>(status.st_size) + 1);
        for (;;) {
            if (done == contents.bytes.size()) {
                if (done > kLargestReadableFile) {  // it has grown past the bound while being read
                    error.message = path.string() + ": " + std::string(kTooLarge);
                    return std::nullopt;
                }
                contents.bytes.resize(done + 65536);  // the file has grown since fstat
            }
            const ssize_t got = ReadSome(fd.Get(), contents.bytes.data() + done, contents.bytes.size() - done);
            if (got < 0) {
                error.message = Describe(path, errno);
                return std::nullopt;
            }
            if (got == 0) {
                break;
            }
            done += static_cast<std::size_t>(got);
        }
    } catch (const std::bad_alloc&) {
        error.message = path.string() + ": " + std::string(kNoMemory);
        return std::nullopt;
    }
    contents.bytes.resize(done);
    contents.stamp = StampOfStatus(status);
    return contents;
}

std::optional<FileView> PosixFileSystem::ViewWholeFile(const std::filesystem::path& path, FileError& error)
{
    struct stat status {};
    bool missing = false;
    const FileDescriptor fd(OpenRegularFile(path, status, missing, error));
    if (fd.Get() < 0) {
        return missing ? std::optional<FileView>(FileView{}) : std::nullopt;
    }
    FileView view;
    view.stamp = StampOfStatus(status);
    const auto size = static_cast<std::size_t>(status.st_size);
    if (size == 0) {
        return view;
    }
    // Mapped whole at once: filling fresh memory of the program's own page by page costs more
    // than reading the file, more so on a virtual machine. The size is the one the stamp holds,
    // so bytes added since are neither seen nor lost (the stamp no longer matches).
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_SHARED | MAP_POPULATE, fd.Get(), 0);
    if (mapped == MAP_FAILED) {
        error.message = Describe(path, errno);
        return std::nullopt;
    }
    view.bytes = std::string_view(static_cast<const char*>(mapped), size);
    view.holder =
        std::shared_ptr<const void>(mapped, [size](const void* pages) { ::munmap(const_cast<void*>(pages), size); });
    return view;
}

bool PosixFileSystem::ReadThrough(const std::filesystem::path& path, const TakeBytes& take, FileError& error)
{
    struct stat status {};
    bool missing = false;
    const FileDescriptor fd(OpenRegularFile(path, status, missing, error));
    if (fd.Get() < 0) {
        return missing;
    }
    std::string buffer(kReadThroughPiece, '\0');
    std::size_t held = 0;  // bytes at the front of the buffer not taken yet
    for (;;) {
        if (held == buffer.size()) {
            // Nothing could be taken: a piece longer than the buffer. The file may have grown past
            // the bound since it was opened, but no piece of it is held larger than that.
            if (held > kLargestReadableFile) {
                error.message = path.string() + ": " + std::string(kTooLarge);
                return false;
            }
            try {
                buffer.resize(buffer.size() * 2);
            } catch (const std::bad_alloc&) {
                error.message = path.string() + ": " + std::string(kNoMemory);
                return false;
            }
        }
        const ssize_t got = ReadSome(fd.Get(), buffer.data() + held, buffer.size() - held);
        if (got < 0) {
            error.message = Describe(path, errno);
            return false;
        }
        held += static_cast<std::size_t>(got);
        if (got == 0) {
            take(std::string_view(buffer.data(), held), true);
            return true;
        }
        const std::size_t taken = std::min(take(std::string_view(buffer.data(), held), false), held);
        std::memmove(buffer.data(), buffer.data() + taken, held - taken);
        held -= taken;
    }
}

std::optional<FileStamp> PosixFileSystem::StampOf(const std::filesystem::path& path)
{
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat status {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &status) != 0) {
        return std::nullopt;
    }
    return StampOfStatus(status);
}

std::optional<std::int64_t> PosixFileSystem::ModifiedNanoseconds(const std::filesystem::path& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return ModifiedNanosecondsOf(status);
}

bool PosixFileSystem::WriteFileAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces,
                                          FileError& error)
{

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
    // A first file that root writes into another account's folder (a script adding to a user's
    // list) is that account's, or its owner could never save over it afterwards.
    struct stat folderStatus {};
    if (!exists && ::geteuid() == 0 && ::stat(folder.c_str(), &folderStatus) == 0 && folderStatus.st_uid != 0) {
        static_cast<void>(::fchown(fd.Get(), folderStatus.st_uid, folderStatus.st_gid));
    }

    for (const std::string_view bytes : pieces) {
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t result = Write(fd.Get(), bytes.data() + written, bytes.size() - written);
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
    }
    if (::fchmod(fd.Get(), mode) != 0) {
        return fail(errno);
    }
    if (DataSync(fd.Get()) != 0) {
        return fail(errno);
    }
    if (::close(fd.Release()) != 0) {
        const int closeError = errno;
        ::unlink(temporary.c_str());
        error.message = Describe(target, closeError);
        return false;
    }
    if (Rename(temporary.c_str(), target.c_str()) != 0) {
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

std::filesystem::path PosixFileSystem::SaveTargetOf(const std::filesystem::path& path)
{
    FileError ignored;
    return SaveTarget(path, ignored).value_or(path);
}

void PosixFileSystem::RemoveStaleTemporaryFiles(const std::filesystem::path& path)
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

std::unique_ptr<PrivateFolder> PosixFileSystem::OpenPrivateFolder(const std::filesystem::path& folder, FileError& error)
{
    return PosixPrivateFolder::Open(folder, error);
}

}  // namespace dolvane
