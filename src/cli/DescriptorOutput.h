#pragma once

#include <array>
#include <streambuf>

namespace dolvane::cli {

// The companion's standard output: a buffer over a file descriptor that remembers why a write
// failed, so that a short file (a full disk) or a closed output never passes for success. After a
// failure every later write is dropped and the stream goes bad.
class DescriptorOutput final : public std::streambuf {
public:
    explicit DescriptorOutput(int fd) : fd_(fd) { setp(buffer_.data(), buffer_.data() + buffer_.size()); }
    ~DescriptorOutput() override = default;
    DescriptorOutput(const DescriptorOutput&) = delete;
    DescriptorOutput& operator=(const DescriptorOutput&) = delete;
    DescriptorOutput(DescriptorOutput&&) = delete;
    DescriptorOutput& operator=(DescriptorOutput&&) = delete;

    // Writes what is buffered and, for a regular file, waits until it is on disk (a full disk or
    // a quota shows only then on some file systems). The errno of the first failure, or 0.
    int Finish();
    int Error() const noexcept { return error_; }

protected:
    int_type overflow(int_type next) override;
    int sync() override;

private:
    bool Drain();

    int fd_;
    int error_ = 0;
    // One pipe's worth: a reader of a pipe gets whole pieces, a file few system calls.
    std::array<char, std::size_t{64} * 1024> buffer_{};
};

}  // namespace dolvane::cli
