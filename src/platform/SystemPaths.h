#pragma once

#include "core/app/ProgramPaths.h"
#include "platform/ProcessInfo.h"

#include <filesystem>
#include <string>

namespace dolvane {

// The program's folders and files for this run and this user.
ProgramPaths CurrentProgramPaths();

}  // namespace dolvane
