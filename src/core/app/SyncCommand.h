#pragma once

#include "core/app/ToDoDocument.h"
#include "core/app/ViewTabs.h"
#include "core/ports/SyncService.h"

#include <filesystem>
#include <optional>

namespace dolvane {

// ツール > "同期(&Y)": one two-way pass between the list file and the configured server. The
// pass changes the list file under the window, so it starts from the file as saved and the list
// is read again afterwards. Start and Finish run on the window's thread, Run on a worker thread
// of its own while the window goes on.
class SyncCommand final {
public:
    // Without a service (none is built in) the command is never offered.
    SyncCommand(ToDoDocument& document, ViewTabs& tabs, Prompts& prompts, SyncService* service);

    // Offered while a server is configured and no pass is running.
    bool Enabled() const;
    bool Running() const noexcept { return running_; }

    // With unsaved changes the user is asked first, as a reload asks; the list is reloaded and
    // the list file to sync is given (and the command runs until Finish). Nothing when the user
    // said no or the command is not offered.
    std::optional<std::filesystem::path> Start();
    // The pass itself; blocks. It touches only the service, so it may run on any thread, and a
    // service that throws reports its message instead.
    SyncReport Run(const std::filesystem::path& listFile) const;
    // After Run: the list is read again (asking first when changes were made meanwhile, which a
    // no keeps) and the report is shown, as an error when the pass failed.
    void Finish(const SyncReport& report);

private:
    ToDoDocument& document_;
    ViewTabs& tabs_;
    Prompts& prompts_;
    SyncService* service_;
    bool running_ = false;
};

}  // namespace dolvane
