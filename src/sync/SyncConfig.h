#pragma once

#include "core/ports/FileSystem.h"

#include <filesystem>
#include <optional>
#include <string>

namespace dolvane {

// The server a list syncs with, as `dolvane-cli sync --setup` stored it in the program's state
// file ("[sync]"). Texts are UTF-8 here; the file holds them in cp932 like the rest of it.
struct SyncConfig {
    std::string collection;  // URL of the calendar collection the to-dos live in
    std::string user;
    std::string caFile;  // an extra CA bundle; empty: the system's certificates alone

    friend bool operator==(const SyncConfig&, const SyncConfig&) = default;
};

// Nothing when no server is set up (or the state file cannot be read).
std::optional<SyncConfig> ReadSyncConfig(FileSystem& files, const std::filesystem::path& stateFile);

// Stores `config`, keeping everything else the state file holds. Throws SyncError when a text has
// no cp932 form or the file cannot be written.
void WriteSyncConfig(FileSystem& files, const std::filesystem::path& stateFile, const SyncConfig& config);

}  // namespace dolvane
