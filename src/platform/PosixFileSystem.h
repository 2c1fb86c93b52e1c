#pragma once

#include "core/ports/FileSystem.h"

#include <sys/types.h>

namespace dolvane {

// The files of a POSIX system: non-blocking reads of regular files only, atomic replacement
// through a private temporary file, and flock on a lock file beside the list. The three calls
// that commit a write are virtual so that tests can make them fail part-way.
class PosixFileSystem : public FileSystem {
public:
    std::optional<FileContents> ReadWholeFile(const std::filesystem::path& path, FileError& error) override;
    std::optional<FileView> ViewWholeFile(const std::filesystem::path& path, FileError& error) override;
    bool ReadThrough(const std::filesystem::path& path, const TakeBytes& take, FileError& error) override;
    using FileSystem::WriteFileAtomically;
    bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces,
                             FileError& error) override;
    std::optional<FileStamp> StampOf(const std::filesystem::path& path) override;
    std::optional<std::int64_t> ModifiedNanoseconds(const std::filesystem::path& path) override;
    std::unique_ptr<FileLock> LockListFile(const std::filesystem::path& listFile, FileError& error,
                                           int waitMilliseconds = kDefaultLockWaitMilliseconds) override;
    void RemoveStaleTemporaryFiles(const std::filesystem::path& path) override;
    std::unique_ptr<PrivateFolder> OpenPrivateFolder(const std::filesystem::path& folder, FileError& error) override;

    // The file a save of `path` replaces: a symbolic link's target, else `path` itself.
    static std::filesystem::path SaveTargetOf(const std::filesystem::path& path);

protected:
    // As write(2), fdatasync(2) and rename(2).
    virtual ssize_t Write(int fd, const void* data, std::size_t size);
    virtual int DataSync(int fd);
    virtual int Rename(const char* from, const char* to);
};

}  // namespace dolvane
