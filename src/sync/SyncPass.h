#pragma once

// The inside of one sync pass, shared by the files that carry it out: SyncPass.cpp reads the list
// and the server and writes the results, SyncSteps.cpp settles each to-do.

#include "core/store/FileIo.h"
#include "core/store/RecordLine.h"
#include "core/sync/LineMatch.h"
#include "core/sync/MergeRecords.h"
#include "core/sync/SyncRules.h"
#include "core/text/Cp932Codec.h"
#include "core/time/TimeTexts.h"
#include "sync/CalDavClient.h"
#include "sync/Credentials.h"
#include "sync/IcsText.h"
#include "sync/ListEdits.h"
#include "sync/SyncConfig.h"
#include "sync/SyncRun.h"
#include "sync/SyncState.h"
#include "sync/Vtodo.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <set>
#include <tuple>
#include <unordered_map>

namespace dolvane::sync_pass {

// A random (version 4) UUID: a to-do's identity must not follow from its texts, which change.
std::string NewUid();
// A line the list loads as a to-do (with "=" and a task that is not blank).
bool IsToDoLine(std::string_view line);

// One synced to-do during a pass.
struct Work {
    SyncedToDo entry;                     // as it will be stored
    SyncedToDo before;                    // as loaded, stored again when its line edit had to wait
    std::optional<std::size_t> line;      // its line in the list as read (every line counted)
    std::optional<std::size_t> appended;  // or its line among those the pass adds
    std::string latestIcs;                // the server's object now (fetched, else as last synced)
    bool drop = false;
};

class Pass final {
public:
    Pass(FileSystem& files, CalDavClient& client, const std::string& collection, const std::string& zone, DateTime now,
         const std::filesystem::path& listFile)
        : files_(files),
          client_(client),
          collection_(collection),
          zone_(zone),
          now_(now),
          listFile_(listFile),
          state_(SyncState::PathFor(listFile))
    {
    }

    SyncCounts Run();

private:
    void ReadList();
    void ListServer();
    void Decide(Work& work);
    void Resolve(Work& work, SideChange local, SideChange remote, int attempts);
    void Send(Work& work, const ToDoRecord& row, int attempts);
    void SendAgain(Work& work, const ToDoRecord& row);
    void Take(Work& work, const ToDoRecord& row);
    void Merge(Work& work, int attempts);
    void Create(std::vector<Work*> creations);
    void Confirm(Work& work, const std::string& sent, const std::string& etag);
    std::optional<DavResource> FetchOne(const std::string& href);
    std::optional<RemoteToDo> Remote(const Work& work, std::string_view ics) const;
    ToDoRecord LocalRow(const Work& work) const { return ParseRecordLine(readLines_[*work.line]); }
    Work& AddWork() { return *works_.emplace_back(std::make_unique<Work>()); }
    void Finish();

    FileSystem& files_;
    CalDavClient& client_;
    const std::string& collection_;
    const std::string& zone_;
    DateTime now_;
    std::filesystem::path listFile_;
    SyncState state_;
    SyncSnapshot loaded_;  // the state file as the pass found it
    SyncSnapshot old_;     // what of it holds for this collection
    std::string read_;
    std::vector<std::string_view> readLines_;
    std::vector<std::size_t> toDoLines_;  // indexes into readLines_
    std::vector<std::unique_ptr<Work>> works_;
    std::vector<SyncedToDo> recurring_;
    DavListing listing_;
    std::unordered_map<std::string, DavResource> fetched_;
    std::set<std::string> seen_;
    std::set<std::string> removed_;
    std::optional<ListEdits> edits_;
    SyncCounts counts_;
};

}  // namespace dolvane::sync_pass
