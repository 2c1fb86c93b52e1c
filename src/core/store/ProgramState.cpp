#include "core/store/ProgramState.h"

#include "core/store/IniFile.h"
#include "core/store/Settings.h"
#include "core/store/ToDoRecord.h"
#include "core/text/Numbers.h"

#include <string>

namespace dolvane {
namespace {

constexpr std::string_view kEntry = "Value";
constexpr std::string_view kColumnsSection = "columns";
constexpr std::string_view kSyncSection = "sync";
constexpr std::string_view kSyncUrl = "URL";
constexpr std::string_view kSyncUser = "User";
constexpr std::string_view kSyncCaFile = "CAFile";
// Wider than any screen; a larger number is a damaged file, not a width.
constexpr int kWidestColumn = 10000;

std::string_view WithoutBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view()
                                           : text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

std::vector<int> ParseWidths(std::string_view text)
{
    std::vector<int> widths;
    while (true) {
        const auto comma = text.find(',');
        const auto width = ParseInt32(WithoutBlanks(text.substr(0, comma)));
        if (!width || *width <= 0 || *width > kWidestColumn) {
            return {};
        }
        widths.push_back(*width);
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    return widths.size() == static_cast<std::size_t>(kVisibleColumnCount) ? widths : std::vector<int>{};
}

}  // namespace

ProgramState ReadProgramState(FileSystem& files, const std::filesystem::path& path)
{
    FileError ignored;
    auto file = IniFile::Load(files, path, ignored);
    ProgramState state;
    if (!file) {
        return state;
    }
    // The switch reads as every flag of data.ini: any number but 0 is on, other text is off.
    const IniSettingsStore store(std::move(*file));
    state.reminders = store.ReadBool(kReminderSection);
    if (const auto text = store.File().Value(kColumnsSection, kEntry)) {
        state.columnWidths = ParseWidths(*text);
    }
    const IniFile& ini = store.File();
    if (auto url = ini.Value(kSyncSection, kSyncUrl); url && !url->empty()) {
        state.sync = SyncServer{std::move(*url), ini.Value(kSyncSection, kSyncUser).value_or(""),
                                ini.Value(kSyncSection, kSyncCaFile).value_or("")};
    }
    return state;
}

bool WriteProgramState(FileSystem& files, const std::filesystem::path& path, const ProgramState& state,
                       FileError& error)
{
    auto file = IniFile::Load(files, path, error);
    if (!file) {
        return false;
    }
    if (state.reminders) {
        file->SetValue(kReminderSection, kEntry, *state.reminders ? "1" : "0");
    }
    if (!state.columnWidths.empty()) {
        std::string text;
        for (const int width : state.columnWidths) {
            text += (text.empty() ? "" : ",") + std::to_string(width);
        }
        file->SetValue(kColumnsSection, kEntry, text);
    }
    if (state.sync) {
        file->SetValue(kSyncSection, kSyncUrl, state.sync->url);
        file->SetValue(kSyncSection, kSyncUser, state.sync->user);
        file->SetValue(kSyncSection, kSyncCaFile, state.sync->caFile);
    }
    return file->Save(files, path, error);
}

}  // namespace dolvane
