#include "cli/DescriptorOutput.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace dolvane::cli {

bool DescriptorOutput::Drain()
{
    const char* from = pbase();
    while (error_ == 0 && from < pptr()) {
        const ssize_t written = ::write(fd_, from, static_cast<std::size_t>(pptr() - from));
        if (written > 0) {
            from += written;
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else {
            // A write of nothing makes no progress either; ENOSPC is what it means on a file.
            error_ = written < 0 ? errno : ENOSPC;
        }
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return error_ == 0;
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type next)
{
    if (!Drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(next, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(next);
        pbump(1);
    }
    return traits_type::not_eof(next);
}

int DescriptorOutput::sync()
{
    return Drain() ? 0 : -1;
}

int DescriptorOutput::Finish()
{
    if (!Drain()) {
        return error_;
    }
    struct stat status {};
    if (::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode) && ::fdatasync(fd_) != 0 && errno != EINVAL) {
        error_ = errno;
    }
    return error_;
}

}  // namespace dolvane::cli
