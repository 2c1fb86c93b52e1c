#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

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

// Which file a path names and how it stood, from the file's status alone (no read): a replaced
// file is another inode, a rewritten one has another size or modification time.
struct FileStamp {
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// A file's bytes as read. A reader that compares files later takes their fingerprint
// (FingerprintOfContents); one that only reads pays no hash.
struct FileContents {
    std::string bytes;
    std::optional<FileStamp> stamp;  // of the file that was read; nothing when it was missing
};

// A file's bytes for reading only, valid for as long as this object lives.
struct FileView {
    std::string_view bytes;
    std::optional<FileStamp> stamp;      // as in FileContents
    std::shared_ptr<const void> holder;  // whatever keeps `bytes` there
};

// A lock on a file, held for as long as this object lives.
class FileLock {
public:
    FileLock() = default;
    virtual ~FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
};

// A folder held open for copying files into it where nobody else can redirect them or read them:
// not a link, the user's or root's, and writable by no other account. What was checked is where
// the copies land, whatever happens to the folder's path meanwhile.
class PrivateFolder {
public:
    PrivateFolder() = default;
    virtual ~PrivateFolder() = default;
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    // The folder `name` in this one, under the same rules. Nothing when it is missing (`error`
    // left as it was) or when it breaks a rule (`error` says which folder and why).
    virtual std::unique_ptr<PrivateFolder> Folder(std::string_view name, FileError& error) = 0;

    // Copies the regular file `from` into this folder as `name`: always a new file, given `mode`
    // (nothing: the source's permission bits without write for others) and flushed before it
    // takes the name, so whatever had the name (a link among them) is replaced, never written
    // through. With `replace` false a name that is taken stays as it was and the copy fails.
    virtual bool CopyIn(const std::filesystem::path& from, std::string_view name, std::optional<unsigned> mode,
                        bool replace, FileError& error) = 0;
};

// What a writer does while another writer holds the list's lock, between two tries. The window
// keeps serving its events meanwhile (with a busy cursor), so a lock held elsewhere never freezes
// it; without one the wait sleeps.
class LockWaiting {
public:
    LockWaiting() = default;
    virtual ~LockWaiting() = default;
    LockWaiting(const LockWaiting&) = delete;
    LockWaiting& operator=(const LockWaiting&) = delete;
    // Lets about `milliseconds` pass.
    virtual void Pause(int milliseconds) = 0;
    // The wait is over, with the lock or without it; called only after a Pause.
    virtual void Over() = 0;
};

// The operating system's files as the list, the settings and the exports use them. The program
// hands one implementation to everything that reads or writes files; tests can hand another
// that fails part-way.
class FileSystem {
public:
    static constexpr int kDefaultLockWaitMilliseconds = 5000;
    // No list, ".tod", settings or holiday file comes near this; a larger file is refused like one
    // that cannot be read, before anything is allocated for it.
    static constexpr std::uint64_t kLargestReadableFile = std::uint64_t{256} << 20;

    FileSystem() = default;
    virtual ~FileSystem() = default;
    FileSystem(const FileSystem&) = delete;
    FileSystem& operator=(const FileSystem&) = delete;

    // Reads a whole file without ever blocking (a named pipe in its place is not waited for).
    // Only regular files up to kLargestReadableFile are read. A missing file is not an error: it
    // gives empty bytes and no stamp. Any other failure (permissions, I/O, not a regular file, too
    // large, no memory for it) is an error, never an empty file.
    virtual std::optional<FileContents> ReadWholeFile(const std::filesystem::path& path, FileError& error) = 0;

    // The same files, stamps and errors as ReadWholeFile, for a reader that only looks at the
    // bytes and copies them: a large file is not copied into memory of the program's own first
    // (the system's cached pages are looked at where they are). The file read is the one the
    // stamp names; a program that ignores the list's lock and shortens it in place meanwhile may
    // end the process.
    virtual std::optional<FileView> ViewWholeFile(const std::filesystem::path& path, FileError& error)
    {
        auto contents = ReadWholeFile(path, error);
        if (!contents) {
            return std::nullopt;
        }
        auto held = std::make_shared<const std::string>(std::move(contents->bytes));
        return FileView{*held, contents->stamp, held};
    }

    // Reads a file once from start to end through one buffer, for a reader that keeps nothing
    // of it: `take` is handed the bytes read and not taken yet and gives how many of them, from
    // the front, it took; what it leaves is handed again with the bytes that follow after it.
    // With `atEnd` the file has no more, and `take` must take everything. Same files and errors
    // as ReadWholeFile (a missing file gives nothing and true); a failure part-way is an error.
    using TakeBytes = std::function<std::size_t(std::string_view bytes, bool atEnd)>;
    virtual bool ReadThrough(const std::filesystem::path& path, const TakeBytes& take, FileError& error) = 0;

    // Replaces `path` with `bytes` so that a crash, a kill or a full disk at any moment leaves
    // either the old file or the new one whole: a private temporary file in the same folder,
    // the old file's owner, group and mode, flushed to disk before it is renamed over the
    // target. A symbolic link stays and its target is replaced (a link to nothing is an error).
    // Refuses, writing nothing, what is not a regular file, a file that is not writable (also
    // one its owner made read-only) and a file whose owner or group the new one could not keep.
    // Creates missing parent folders. On failure the old file is untouched and the temporary
    // file is gone.
    bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, FileError& error)
    {
        return WriteFileAtomically(path, std::span<const std::string_view>(&bytes, 1), error);
    }
    // The same with the new contents given in pieces, written one after another (a long file
    // changed in one place need not be copied into one string first).
    virtual bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces,
                                     FileError& error) = 0;

    // The stamp of the file `path` names now, opened without blocking; nothing when it is missing
    // or cannot be opened (so a file that was missing and still is compares equal).
    virtual std::optional<FileStamp> StampOf(const std::filesystem::path& path) = 0;

    // The modification time of `path` in nanoseconds, or nothing when it cannot be read.
    virtual std::optional<std::int64_t> ModifiedNanoseconds(const std::filesystem::path& path) = 0;

    // An exclusive lock on "<list file>.lock" beside the list (beside a link's target), so that
    // two writers (the window, dolvane-cli, scripts) never interleave a check of the file and
    // its replacement. Waits up to `waitMilliseconds` for another writer; then, or when the lock
    // file cannot be opened, gives nothing and `error` says why.
    virtual std::unique_ptr<FileLock> LockListFile(const std::filesystem::path& listFile, FileError& error,
                                                   int waitMilliseconds = kDefaultLockWaitMilliseconds) = 0;
    // How LockListFile waits from now on; nothing: it sleeps.
    void SetLockWaiting(LockWaiting* waiting) noexcept { lockWaiting_ = waiting; }

    // Opens `folder` as a PrivateFolder: nothing when it is missing (`error` left as it was) or
    // is a link or a folder other accounts can write (`error` says why).
    virtual std::unique_ptr<PrivateFolder> OpenPrivateFolder(const std::filesystem::path& folder, FileError& error) = 0;

    // Removes the temporary files that saves of `path` left behind when they were killed: only
    // names this program makes, only when their writing process is gone, only the user's own.
    virtual void RemoveStaleTemporaryFiles(const std::filesystem::path& path) = 0;

protected:
    LockWaiting* Waiting() const noexcept { return lockWaiting_; }

private:
    LockWaiting* lockWaiting_ = nullptr;
};

}  // namespace dolvane
