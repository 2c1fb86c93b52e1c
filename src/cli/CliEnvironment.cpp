#include "cli/CliEnvironment.h"

#include "cli/CliText.h"
#include "core/store/FileIo.h"
#include "core/time/TimeTexts.h"

namespace dolvane::cli {

DateTime NowOption(const CommandLine& line, const CliEnvironment& environment)
{
    const auto now = line.Value("--now");
    if (!now) {
        return environment.clock.Now();
    }
    return ParseDateTimeText(DateTimeArgument(*now, "--now"));
}

std::string DateTimeArgument(const std::string& utf8, std::string_view what)
{
    std::string text = ArgumentToCp932(utf8, what);
    try {
        ParseDateTimeText(text);
    } catch (const ConvertError& error) {
        throw CliError(std::string(what) + ": " + DisplayUtf8(error.Message()) +
                       " (\"yyyy/mm/dd hh:nn\" の形で指定してください)");
    }
    return text;
}

std::filesystem::path ListFileOption(const CommandLine& line, const CliEnvironment& environment)
{
    if (const auto file = line.Value("--file")) {
        return {*file};
    }
    return environment.paths.ListFilePath;
}

Settings ReadProgramSettings(const CliEnvironment& environment)
{
    const ProgramPaths& paths = environment.paths;
    if (paths.InsideSiblingFolder) {
        // Installed inside the sibling's folder the window keeps its settings in the sibling's
        // per-user store, which only Qt's settings reader knows how to read. The companion has
        // no Qt, so it takes the defaults there (case-sensitive search on, 7 days kept); the
        // options --exact, --fold and --keep-days say otherwise for one run.
        return Settings{};
    }
    // As the window does: a data.ini that cannot be read leaves the defaults.
    FileError ignored;
    return ReadDataIni(environment.files, paths.ProgramFolder / "data.ini", ignored);
}

std::vector<std::string> ReadHolidayFile(FileSystem& files, const std::filesystem::path& path, bool required)
{
    FileError error;
    const auto contents = files.ReadWholeFile(path, error);
    if (!contents) {
        throw CliError("祝日ファイルを読み込めません: " + error.message);
    }
    if (!contents->stamp && required) {
        throw CliError("祝日ファイルがありません: " + path.string());
    }
    std::vector<std::string> lines;
    for (const auto line : SplitLines(contents->bytes)) {
        lines.emplace_back(line);
    }
    return lines;
}

std::vector<std::string> ProgramHolidayLines(const CliEnvironment& environment)
{
    return ReadHolidayFile(environment.files, environment.paths.HolidayFilePath, false);
}

}  // namespace dolvane::cli
