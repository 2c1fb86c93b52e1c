#pragma once

#include <filesystem>
#include <string>

namespace dolvane {

// What one sync pass came to.
struct SyncReport {
    bool ok = false;
    std::string message;  // UTF-8, shown to the user as it is: what was done, or what went wrong
};

// The two-way sync of the list file with a CalDAV server, as the window's menu uses it.
class SyncService {
public:
    virtual ~SyncService() = default;
    // A server is configured (URL and user in the state file).
    virtual bool Configured() const = 0;
    // One two-way pass between `listFile` and the configured collection. Blocks; safe to call
    // from a worker thread (it touches nothing of the window's).
    virtual SyncReport Run(const std::filesystem::path& listFile) = 0;
};

}  // namespace dolvane
