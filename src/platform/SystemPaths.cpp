#include "platform/SystemPaths.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace dolvane {
namespace {

// The reentrant lookup, so a thread elsewhere calling getpwnam cannot overwrite the answer.
std::string AccountName(uid_t uid)
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
    if (error != 0 || found == nullptr || found->pw_name == nullptr) {
        return {};
    }
    return found->pw_name;
}

}  // namespace

std::string CurrentUserName()
{
    const uid_t uid = ::geteuid();
    if (std::string name = AccountName(uid); !name.empty()) {
        return name;
    }
    if (const char* user = std::getenv("USER"); user != nullptr && *user != '\0') {
        return user;
    }
    return std::to_string(uid);
}

std::filesystem::path ExecutableFolder()
{
    // encodeName gives the bytes the file system holds, so a folder such as "Ｖｅｌｋ/ピマロ"
    // survives whatever the process's locale is.
    const QByteArray folder = QFile::encodeName(QCoreApplication::applicationDirPath());
    return {std::string(folder.constData(), static_cast<std::size_t>(folder.size()))};
}

std::filesystem::path ProgramFilesFolder()
{
    return "/opt";
}

ProgramPaths CurrentProgramPaths()
{
    return DeriveProgramPaths(ExecutableFolder(), CurrentUserName(), ProgramFilesFolder());
}

}  // namespace dolvane
