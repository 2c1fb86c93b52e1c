// dolvane-cli: the list file, the holidays and the calendar from a terminal or a script, through
// the same core as the window, without Qt.
#include "cli/CliCommands.h"
#include "cli/DescriptorOutput.h"
#include "core/app/ProgramPaths.h"
#include "platform/ConversionLibraryLoader.h"
#include "platform/LocalClock.h"
#include "platform/PosixFileSystem.h"
#include "platform/ProcessInfo.h"
#include "platform/SiblingChannel.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

int main(int argc, char* argv[])
{
    std::ios::sync_with_stdio(false);
    dolvane::cli::DescriptorOutput outBuffer(STDOUT_FILENO);
    std::ostream out(&outBuffer);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // The window's paths, from this executable's folder: installed beside the window, the
    // companion reads the same list file, data.ini and conversion library.
    const std::filesystem::path folder = dolvane::ExecutableFolder();
    const dolvane::LocalClock clock;
    dolvane::PosixFileSystem files;
    dolvane::LocalSocketSibling sibling;
    const dolvane::cli::CliEnvironment environment{
        dolvane::DeriveProgramPaths(folder, dolvane::CurrentUserName(), dolvane::ProgramFilesFolder()), clock, files,
        [folder] { return dolvane::LoadConversionLibrary(folder); }, &sibling};
    const int exitCode = dolvane::cli::RunCli(arguments, environment, out, std::cerr);
    const int error = outBuffer.Finish();
    if (error == EPIPE) {
        // The reader stopped reading on purpose (`| head`): as quiet as the signal's default end.
        return 128 + SIGPIPE;
    }
    if (error != 0) {
        std::cerr << "dolvane-cli: 出力を書き込めませんでした: " << std::strerror(error) << '\n';
        return 2;
    }
    return exitCode;
}
