#pragma once

#include "cli/CommandLine.h"
#include "core/app/ProgramPaths.h"
#include "core/ports/Clock.h"
#include "core/ports/ConversionLibrary.h"
#include "core/ports/FileSystem.h"
#include "core/ports/SiblingPort.h"
#include "core/store/Settings.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace dolvane::cli {

// What the commands take from the outside world.
struct CliEnvironment {
    // The folders of the installed program, derived from the companion's own folder as the
    // window derives them from its own.
    ProgramPaths paths;
    const Clock& clock;
    // Every read and write of a file.
    FileSystem& files;
    // The conversion library beside the executable, or nothing when it is absent.
    std::function<std::unique_ptr<ConversionLibrary>()> loadConversionLibrary;
    // Told after every successful save, as the window tells it; none in tests that do not care.
    SiblingPort* sibling = nullptr;
};

// --now as a moment, else the clock. An unreadable date ends the command with the program's own
// conversion message.
DateTime NowOption(const CommandLine& line, const CliEnvironment& environment);

// A date-time text given on the command line, checked and converted to cp932.
std::string DateTimeArgument(const std::string& utf8, std::string_view what);

// --file, else the user's list file next to the installed program.
std::filesystem::path ListFileOption(const CommandLine& line, const CliEnvironment& environment);

// The settings the window would read at start-up.
Settings ReadProgramSettings(const CliEnvironment& environment);

// The lines of a holiday rule file; a file that exists but cannot be read is an error. A missing
// file gives no lines unless `required`.
std::vector<std::string> ReadHolidayFile(FileSystem& files, const std::filesystem::path& path, bool required);

// The holiday rules the window would use: the sibling's holiday file when installed inside its
// folder, else the one shipped beside the program (none when it is missing).
std::vector<std::string> ProgramHolidayLines(const CliEnvironment& environment);

}  // namespace dolvane::cli
