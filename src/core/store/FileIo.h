#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace dolvane {

// What a file looked like when it was read, to tell whether another program changed it since.
struct FileFingerprint {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::size_t hash = 0;

    friend bool operator==(const FileFingerprint&, const FileFingerprint&) = default;
};

// A failed file operation. The message is UTF-8 (it carries a file system path) and is meant
// for the user as it stands.
struct FileError {
    std::string message;
};

struct FileContents {
    std::string bytes;
    FileFingerprint fingerprint;
};

// Reads a whole file. A missing file is not an error: it gives empty bytes and a fingerprint
// with exists = false. Any other failure (permissions, I/O) is an error, never an empty file.
std::optional<FileContents> ReadWholeFile(const std::filesystem::path& path, FileError& error);

// The fingerprint of a file just written with `bytes`, without reading it back.
FileFingerprint FingerprintOfWritten(const std::filesystem::path& path, std::string_view bytes);

// The fingerprint of the file as it is now (reading it to hash its bytes).
std::optional<FileFingerprint> FingerprintOf(const std::filesystem::path& path, FileError& error);

// Splits text into lines at CR LF, CR or LF; a last line without a line end counts, an empty
// text after the last line end does not.
std::vector<std::string_view> SplitLines(std::string_view text);

// The line end that follows each of `lines` (SplitLines of `text`): "\r\n", "\n", "\r", or
// empty for a last line without one.
std::vector<std::string_view> LineEnds(std::string_view text, const std::vector<std::string_view>& lines);

// The system calls an atomic write makes, so tests can make them fail part-way.
class WriteSystemCalls {
public:
    virtual ~WriteSystemCalls() = default;
    virtual ssize_t Write(int fd, const void* data, std::size_t size);
    virtual int DataSync(int fd);
    virtual int Rename(const char* from, const char* to);
};

// Replaces `path` with `bytes` so that a crash, a kill or a full disk at any moment leaves
// either the old file or the new one whole: a temporary file (mode 0600) in the same folder,
// every write checked for its full length, the old file's owner, group and mode, fdatasync,
// rename over the target, fsync of the folder. A symbolic link stays and its target is replaced
// (a link to nothing is an error). Refuses, writing nothing, what is not a regular file, a file
// that is not writable (also one its owner made read-only) and a file whose owner or group the
// new one could not keep. Creates missing parent folders. On failure the old file is untouched
// and the temporary file is removed.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, FileError& error,
                         WriteSystemCalls* calls = nullptr);

// The file a save of `path` replaces: a symbolic link's target, else `path` itself.
std::filesystem::path SaveTargetOf(const std::filesystem::path& path);

// Removes the temporary files that saves of `path` left behind when they were killed: only
// names this program makes, only when their writing process is gone, and only the user's own.
void RemoveStaleTemporaryFiles(const std::filesystem::path& path);

// An exclusive lock on "<list file>.lock" beside the list (beside a link's target), so that
// two writers (the window, dolvane-cli, scripts) never interleave a check of the file and its
// replacement. Waits up to `waitMilliseconds` for another writer; then, or when the lock file
// cannot be opened, Held() is false and `error` says why. Released when destroyed.
class ListFileLock final {
public:
    static constexpr int kDefaultWaitMilliseconds = 5000;

    ListFileLock(const std::filesystem::path& listFile, FileError& error,
                 int waitMilliseconds = kDefaultWaitMilliseconds);
    ~ListFileLock();
    ListFileLock(const ListFileLock&) = delete;
    ListFileLock& operator=(const ListFileLock&) = delete;

    bool Held() const noexcept { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace dolvane
