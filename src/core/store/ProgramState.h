#pragma once

#include "core/store/FileIo.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// The CalDAV collection the list syncs with, as the state file holds it (cp932; the password is
// never here).
struct SyncServer {
    std::string url;  // the calendar collection
    std::string user;
    std::string caFile;  // an extra CA bundle for the server's certificate; empty: the system's

    friend bool operator==(const SyncServer&, const SyncServer&) = default;
};

// What the program keeps for itself between runs, apart from the seven settings it shares with the
// sibling: "data.ini" and the sibling's store hold exactly those seven, since the sibling reads them
// too. It lives in "dolvane-state.ini" beside the program, in the data.ini layout (cp932, one
// section per key with one entry "Value").
struct ProgramState {
    // Desktop notifications; none when the file does not say (a data.ini of an earlier version may).
    std::optional<bool> reminders;
    // The list's column widths as the user left them, in pixels and column order; empty until the
    // user resizes a column, so the starting widths keep following the font.
    std::vector<int> columnWidths;
    // Section "[sync]" (entries URL, User, CAFile); none until a server is set up, and a file
    // without a URL there has none.
    std::optional<SyncServer> sync;

    friend bool operator==(const ProgramState&, const ProgramState&) = default;
};

inline constexpr std::string_view kStateFileName = "dolvane-state.ini";
// Also the section an earlier version kept in data.ini.
inline constexpr std::string_view kReminderSection = "reminder";

// A missing or unreadable file says nothing. Widths that are not one positive number per column
// are ignored as a whole: a hand-edited list cannot be matched to columns.
ProgramState ReadProgramState(FileSystem& files, const std::filesystem::path& path);

// Stores what `state` holds, keeping everything else the file holds; a value it does not hold is
// left as the file has it. An existing file that cannot be read is left alone.
bool WriteProgramState(FileSystem& files, const std::filesystem::path& path, const ProgramState& state,
                       FileError& error);

}  // namespace dolvane
