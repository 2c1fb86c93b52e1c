#pragma once

#include "core/ports/Clock.h"
#include "core/ports/FileSystem.h"
#include "core/time/DateTime.h"

#include <filesystem>
#include <string>
#include <vector>

namespace dolvane {

class CalDavClient;

// What one pass did, for the one-line summary.
struct SyncCounts {
    int sent = 0;          // to-dos created or updated on the server
    int received = 0;      // lines added or replaced from the server
    int deletedThere = 0;  // deleted on the server because they were deleted here
    int deletedHere = 0;   // lines removed because they were deleted there
    int conflicts = 0;     // server versions kept as "（競合）" to-dos of their own
    // Summaries (UTF-8) of repeating to-dos of other programs seen for the first time: left alone.
    std::vector<std::string> recurring;
    // Someone saved the list during the pass and some of its changes wait for the next one.
    bool unfinished = false;
};

// The message for the user (UTF-8), one line per repeating to-do after the counts.
std::string SummaryText(const SyncCounts& counts);

// One two-way pass between a list file and a CalDAV collection. The list is read without its lock
// while the server is talked to; the server's changes go into the file at the end, under the lock,
// as line edits of the file as it is then; the state file beside the list is written last. A pass
// stopped at any point (a network error, a kill) leaves the list whole and the state consistent,
// and the next pass finishes the work without duplicates: new resources are recorded in the
// state before they are sent and created with If-None-Match, every change of a resource goes
// with If-Match.
class SyncRun final {
public:
    // `zone` names the local time zone the to-dos' times are written in; `now` is the pass's time.
    SyncRun(FileSystem& files, CalDavClient& client, std::string collection, std::string zone, DateTime now);

    // Throws SyncError (the list and the state then stand as before, or as a whole earlier step
    // left them).
    SyncCounts Run(const std::filesystem::path& listFile);

private:
    FileSystem& files_;
    CalDavClient& client_;
    std::string collection_;
    std::string zone_;
    DateTime now_;
};

// One pass with the server set up in the program's state file `stateFile`, its password from the
// Secret Service or the password file: what `dolvane-cli sync` and the window run. Throws
// SyncError, also when no server is set up.
SyncCounts RunConfiguredSync(FileSystem& files, const Clock& clock, const std::filesystem::path& stateFile,
                             const std::filesystem::path& listFile);

}  // namespace dolvane
