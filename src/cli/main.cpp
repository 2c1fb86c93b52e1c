// dolvane-cli: the list file, the holidays and the calendar from a terminal or a script, through
// the same core as the window, without Qt.
#include "cli/CliCommands.h"
#include "core/app/ProgramPaths.h"
#include "platform/ConversionLibraryLoader.h"
#include "platform/LocalClock.h"
#include "platform/PosixFileSystem.h"
#include "platform/ProcessInfo.h"
#include "platform/SiblingChannel.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // The window's paths, from this executable's folder: installed beside the window, the
    // companion reads the same list file, data.ini and conversion library.
    const std::filesystem::path folder = dolvane::RunningExecutableFolder();
    const dolvane::LocalClock clock;
    dolvane::PosixFileSystem files;
    dolvane::LocalSocketSibling sibling;
    const dolvane::cli::CliEnvironment environment{
        dolvane::DeriveProgramPaths(folder, dolvane::CurrentUserName(), dolvane::ProgramFilesFolder()), clock, files,
        [folder] { return dolvane::LoadConversionLibrary(folder); }, &sibling};
    const int exitCode = dolvane::cli::RunCli(arguments, environment, std::cout, std::cerr);
    std::cout.flush();
    return exitCode;
}
