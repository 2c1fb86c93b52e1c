#pragma once

#include "core/app/ProgramPaths.h"

#include <filesystem>
#include <string>

namespace dolvane {

// The account name of the effective user; $USER when the account database has no entry, and the
// numeric user id when even that is empty. Never empty.
std::string CurrentUserName();

// The folder of the running executable, in the file system's own encoding. Needs the application
// object.
std::filesystem::path ExecutableFolder();

// Where installed programs live on this system.
std::filesystem::path ProgramFilesFolder();

// The program's folders and files for this run and this user.
ProgramPaths CurrentProgramPaths();

}  // namespace dolvane
