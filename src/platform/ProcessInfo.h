#pragma once

#include <filesystem>
#include <string>

namespace dolvane {

// What the system says about the running process, without the application object, so the
// command-line companion can use it as well as the window.

// The account name of the effective user; $USER when the account database has no entry, and the
// numeric user id when even that is empty. Never empty.
std::string CurrentUserName();

// The effective user's home folder as the account database has it (never $HOME, which a sudo or
// a script may have set to someone else's); empty when it has none or a relative one.
std::filesystem::path CurrentUserHome();

// Where installed programs live on this system.
std::filesystem::path ProgramFilesFolder();

// The folder of the running executable as the kernel knows it (/proc/self/exe), symbolic links
// resolved; empty when it cannot be found.
std::filesystem::path ExecutableFolder();

}  // namespace dolvane
