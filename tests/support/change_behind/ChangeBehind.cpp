// Preloaded into a command under test. Every time the file named by DOLVANE_TEST_CHANGE_FILE is
// opened for reading, from the second time on, a line is first appended to it (making the file
// when it is missing): as if another program saved the file between the command's load and its
// save.
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

using OpenFunction = int (*)(const char*, int, ...);

OpenFunction Real(const char* name)
{
    return reinterpret_cast<OpenFunction>(::dlsym(RTLD_NEXT, name));
}

int readOpens = 0;

void ChangeBeforeRead(OpenFunction realOpen, const char* path, int flags)
{
    const char* target = std::getenv("DOLVANE_TEST_CHANGE_FILE");
    if (target == nullptr || std::strcmp(path, target) != 0 || (flags & O_ACCMODE) != O_RDONLY) {
        return;
    }
    if (++readOpens < 2) {
        return;
    }
    const int fd = realOpen(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0) {
        constexpr char kLine[] = "changed elsewhere\r\n";
        [[maybe_unused]] const ssize_t written = ::write(fd, kLine, sizeof kLine - 1);
        ::close(fd);
    }
}

mode_t ModeArgument(int flags, va_list arguments)
{
    return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

}  // namespace

extern "C" int open(const char* path, int flags, ...)
{
    static const OpenFunction realOpen = Real("open");
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    ChangeBeforeRead(realOpen, path, flags);
    return realOpen(path, flags, mode);
}

extern "C" int open64(const char* path, int flags, ...)
{
    static const OpenFunction realOpen = Real("open64");
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    ChangeBeforeRead(realOpen, path, flags);
    return realOpen(path, flags, mode);
}
