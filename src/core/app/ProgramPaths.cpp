#include "core/app/ProgramPaths.h"

namespace dolvane {
namespace {

// Folder names of the sibling program's installation, as the file system spells them.
constexpr const char* kMakerFolder = "Ｖｅｌｋ";
constexpr const char* kSiblingName = "ピマロ";

}  // namespace

ProgramPaths DeriveProgramPaths(const std::filesystem::path& programFolder, const std::string& userName,
                                const std::filesystem::path& programFilesFolder)
{
    ProgramPaths paths;
    paths.ProgramFolder = programFolder;
    paths.UserName = userName;
    paths.ListFilePath = programFolder / "data" / userName / "todolist.txt";
    paths.SiblingFolder = programFilesFolder / kMakerFolder / kSiblingName;
    // A plain text test on the folder, wherever the sibling's folder stands in it.
    const std::string marker =
        std::string(kMakerFolder) + static_cast<char>(std::filesystem::path::preferred_separator) + kSiblingName;
    paths.InsideSiblingFolder = programFolder.string().find(marker) != std::string::npos;
    paths.HolidayFilePath =
        (paths.InsideSiblingFolder ? paths.SiblingFolder : programFolder) / "data" / "NationalHoliday.txt";
    return paths;
}

}  // namespace dolvane
