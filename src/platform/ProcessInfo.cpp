#include "platform/ProcessInfo.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace dolvane {
namespace {

struct Account {
    std::string name;
    std::string home;
};

// The reentrant lookup, so a thread elsewhere calling getpwnam cannot overwrite the answer.
Account AccountOf(uid_t uid)
{
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 1024);
    passwd entry{};
    passwd* found = nullptr;
    int error = 0;
    // The buffer has to hold every field of the entry; long home folders or shells need more.
    constexpr std::size_t kLargestBuffer = std::size_t{1} << 20;
    while ((error = ::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
           buffer.size() < kLargestBuffer) {
        buffer.resize(buffer.size() * 2);
    }
    if (error != 0 || found == nullptr) {
        return {};
    }
    return {found->pw_name != nullptr ? found->pw_name : "", found->pw_dir != nullptr ? found->pw_dir : ""};
}

}  // namespace

std::string CurrentUserName()
{
    const uid_t uid = ::geteuid();
    if (std::string name = AccountOf(uid).name; !name.empty()) {
        return name;
    }
    if (const char* user = std::getenv("USER"); user != nullptr && *user != '\0') {
        return user;
    }
    return std::to_string(uid);
}

std::filesystem::path CurrentUserHome()
{
    std::filesystem::path home = AccountOf(::geteuid()).home;
    return home.is_absolute() ? home : std::filesystem::path();
}

std::filesystem::path ProgramFilesFolder()
{
    return "/opt";
}

std::filesystem::path ExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

}  // namespace dolvane
