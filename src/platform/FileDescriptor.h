#pragma once

#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>

namespace dolvane {

// A failure of the operating system on `path`, as the user reads it.
inline std::string Describe(const std::filesystem::path& path, int errorNumber)
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

}  // namespace dolvane
