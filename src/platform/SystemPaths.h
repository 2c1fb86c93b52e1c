#pragma once

#include "core/app/ProgramPaths.h"
#include "platform/ProcessInfo.h"

#include <filesystem>
#include <string>

namespace dolvane {

// The folder of the running executable, in the file system's own encoding. Needs the application
// object.
std::filesystem::path ExecutableFolder();

// The program's folders and files for this run and this user.
ProgramPaths CurrentProgramPaths();

}  // namespace dolvane
