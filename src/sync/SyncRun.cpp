#include "sync/SyncRun.h"

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
#include "sync/SyncState.h"
#include "sync/Vtodo.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <set>
#include <tuple>
#include <unordered_map>

namespace dolvane {
namespace {

// A random (version 4) UUID: a to-do's identity must not follow from its texts, which change.
std::string NewUid()
{
    std::random_device source;
    std::array<unsigned char, 16> bytes{};
    for (auto& byte : bytes) {
        byte = static_cast<unsigned char>(source());
    }
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
    std::string text;
    char hex[3];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) {
            text += '-';
        }
        std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
        text += hex;
    }
    return text;
}

bool IsToDoLine(std::string_view line)
{
    const auto facts = ReadLineFacts(line);
    return facts && facts->hasTask;
}

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

SyncCounts Pass::Run()
{
    loaded_ = state_.Load();
    old_ = loaded_;
    if (old_.collection != collection_) {
        // Entries of another collection say nothing about this one.
        old_ = SyncSnapshot{collection_, {}, {}};
    }
    ReadList();
    ListServer();

    // Lines now against their lines as last synced.
    std::vector<std::string> baseLines;
    std::vector<Work*> tracked;
    for (const SyncedToDo& entry : old_.toDos) {
        // A repeating to-do that never had a line here is only remembered; one that became
        // repeating after it was synced keeps its line matched, so the line is not sent as new.
        if (entry.recurring && entry.baseLine.empty()) {
            if (!removed_.contains(entry.href)) {
                recurring_.push_back(entry);
            }
            continue;
        }
        Work& work = AddWork();
        work.entry = work.before = entry;
        work.latestIcs = entry.remoteIcs;
        baseLines.push_back(entry.baseLine);
        tracked.push_back(&work);
    }
    std::vector<std::string> nowLines;
    for (const std::size_t index : toDoLines_) {
        nowLines.emplace_back(readLines_[index]);
    }
    const auto match = MatchLines(baseLines, nowLines);
    std::vector<std::size_t> newLines;
    for (std::size_t j = 0; j < match.size(); ++j) {
        if (match[j]) {
            tracked[*match[j]]->line = toDoLines_[j];
        } else {
            newLines.push_back(toDoLines_[j]);
        }
    }

    // Resources the state does not know: repeating ones are left alone, the rest become lines,
    // unless the same to-do is a new line here already (a pass stopped after writing the list).
    std::set<std::string> known;
    for (const auto& work : works_) {
        known.insert(work->entry.href);
    }
    for (const SyncedToDo& entry : recurring_) {
        known.insert(entry.href);
    }
    std::unordered_multimap<std::string, std::size_t> newLineOf;
    for (const std::size_t index : newLines) {
        newLineOf.emplace(std::string(readLines_[index]), index);
    }
    std::set<std::size_t> adopted;
    for (const DavResource& resource : listing_.present) {
        const auto found = fetched_.find(resource.href);
        if (known.contains(resource.href) || found == fetched_.end()) {
            continue;
        }
        const auto remote = ReadVtodo(found->second.ics, now_);
        if (!remote) {
            continue;
        }
        if (remote->recurring) {
            recurring_.push_back({remote->uid, resource.href, found->second.etag, {}, -1, {}, false, true});
            counts_.recurring.push_back(Cp932ToUtf8ForDisplay(remote->row.TaskText));
            continue;
        }
        Work& work = AddWork();
        work.entry = {remote->uid, resource.href, found->second.etag, LineToWrite(remote->row), 0, found->second.ics,
                      false,       false};
        work.latestIcs = found->second.ics;
        if (const auto same = newLineOf.find(work.entry.baseLine); same != newLineOf.end()) {
            work.line = same->second;
            adopted.insert(same->second);
            newLineOf.erase(same);
        } else {
            work.appended = edits_->appended.size();
            edits_->appended.push_back(work.entry.baseLine);
            ++counts_.received;
        }
    }

    for (Work* work : tracked) {
        Decide(*work);
    }

    // New lines here, and earlier creations whose fate is unknown, go up as new resources.
    std::vector<Work*> creations;
    for (const std::size_t index : newLines) {
        if (adopted.contains(index)) {
            continue;
        }
        Work& work = AddWork();
        work.line = index;
        work.entry.uid = NewUid();
        work.entry.href = CalDavClient::HrefFor(collection_, work.entry.uid);
        work.entry.baseLine = std::string(readLines_[index]);
        creations.push_back(&work);
    }
    for (Work* work : tracked) {
        if (work->entry.pending && !work->drop && !seen_.contains(work->entry.href)) {
            if (work->line) {
                creations.push_back(work);
            } else {
                work->drop = true;  // deleted here before it was known to have arrived
            }
        }
    }
    Create(creations);
    Finish();
    return counts_;
}

void Pass::ReadList()
{
    FileError error;
    files_.RemoveStaleTemporaryFiles(listFile_);
    auto contents = files_.ReadWholeFile(listFile_, error);
    if (!contents) {
        throw SyncError("ToDoリストを読み込めませんでした: " + error.message);
    }
    read_ = std::move(contents->bytes);
    readLines_ = SplitLines(read_);
    for (std::size_t i = 0; i < readLines_.size(); ++i) {
        if (IsToDoLine(readLines_[i])) {
            toDoLines_.push_back(i);
        }
    }
    edits_.emplace(readLines_.size());
}

void Pass::ListServer()
{
    listing_ = client_.List(collection_, old_.syncToken);
    std::unordered_map<std::string, std::string> etagOf;
    for (const SyncedToDo& entry : old_.toDos) {
        etagOf.emplace(entry.href, entry.etag);
    }
    std::vector<std::string> hrefs;
    for (const DavResource& resource : listing_.present) {
        seen_.insert(resource.href);
        const auto known = etagOf.find(resource.href);
        // Only a new ETag is worth a fetch; whether its content changed is decided on the content.
        if (known == etagOf.end() || known->second != resource.etag || resource.etag.empty()) {
            hrefs.push_back(resource.href);
        }
    }
    removed_.insert(listing_.removedHrefs.begin(), listing_.removedHrefs.end());
    if (listing_.complete) {
        for (const SyncedToDo& entry : old_.toDos) {
            if (!seen_.contains(entry.href) && !entry.pending) {
                removed_.insert(entry.href);
            }
        }
    }
    if (hrefs.empty()) {
        return;
    }
    for (DavResource& resource : client_.Fetch(collection_, hrefs)) {
        fetched_.emplace(resource.href, std::move(resource));
    }
    // A resource removed between the listing and the fetch shows up in the next listing.
    if (fetched_.size() != hrefs.size()) {
        counts_.unfinished = true;
    }
}

std::optional<RemoteToDo> Pass::Remote(const Work& work, std::string_view ics) const
{
    // An object without DTSTART takes the start it was first given here, so that reading it again
    // later does not look like an edit of the start.
    const auto start = DateTimeOrNothing(ParseRecordLine(work.entry.baseLine).StartText);
    return ReadVtodo(ics, start.value_or(now_));
}

void Pass::Decide(Work& work)
{
    SideChange local = SideChange::Deleted;
    if (work.line) {
        const std::string_view now = readLines_[*work.line];
        local =
            now == work.entry.baseLine || SameSyncedFields(ParseRecordLine(work.entry.baseLine), ParseRecordLine(now))
                ? SideChange::Unchanged
                : SideChange::Changed;
    }
    const bool wasPending = work.entry.pending;
    SideChange remote = SideChange::Unchanged;
    if (removed_.contains(work.entry.href)) {
        remote = SideChange::Deleted;
    } else if (const auto found = fetched_.find(work.entry.href); found != fetched_.end()) {
        work.latestIcs = found->second.ics;
        work.entry.etag = found->second.etag;
        const auto before = Remote(work, work.entry.remoteIcs);
        const auto after = Remote(work, work.latestIcs);
        if (after && after->recurring) {
            work.entry.recurring = true;
        }
        remote =
            before && after && SameSyncedFields(before->row, after->row) ? SideChange::Unchanged : SideChange::Changed;
        work.entry.pending = false;
    } else if (work.entry.pending) {
        // Sent by a pass that stopped before it heard back: Create finds out whether it arrived.
        return;
    }
    if (work.entry.recurring && remote != SideChange::Deleted) {
        // Made repeating by another program: from now on it is that program's alone, and its
        // line here is neither sent nor replaced.
        work.entry.baseLine = work.line ? std::string(readLines_[*work.line]) : std::string();
        work.entry.remoteIcs = work.latestIcs;
        return;
    }
    if (wasPending && local == SideChange::Deleted && remote == SideChange::Unchanged) {
        // Its line never reached the list (a conflict copy of a stopped pass): bring it back.
        if (const auto row = Remote(work, work.latestIcs)) {
            Take(work, row->row);
        }
        return;
    }
    Resolve(work, local, remote, 2);
}

void Pass::Resolve(Work& work, SideChange local, SideChange remote, int attempts)
{
    switch (DecideStep(local, remote)) {
    case SyncStep::Nothing:
        if (work.line) {
            work.entry.baseLine = std::string(readLines_[*work.line]);
        }
        work.entry.remoteIcs = work.latestIcs;
        break;
    case SyncStep::SendLocal:
        Send(work, LocalRow(work), attempts);
        break;
    case SyncStep::TakeRemote:
        if (const auto row = Remote(work, work.latestIcs)) {
            Take(work, row->row);
        }
        break;
    case SyncStep::MergeBoth:
        Merge(work, attempts);
        break;
    case SyncStep::DeleteRemote:
        switch (client_.Delete(work.entry.href, work.entry.etag)) {
        case WriteOutcome::Done:
        case WriteOutcome::NotFound:
            work.drop = true;
            ++counts_.deletedThere;
            break;
        case WriteOutcome::PreconditionFailed:
            // Changed there since: the server's edit outweighs the delete here.
            if (const auto resource = FetchOne(work.entry.href)) {
                work.latestIcs = resource->ics;
                work.entry.etag = resource->etag;
                if (const auto row = Remote(work, work.latestIcs)) {
                    Take(work, row->row);
                }
            }
            break;
        }
        break;
    case SyncStep::RemoveLine:
        edits_->removed[*work.line] = true;
        work.drop = true;
        ++counts_.deletedHere;
        break;
    case SyncStep::SendAgain:
        SendAgain(work, LocalRow(work));
        break;
    case SyncStep::Forget:
        work.drop = true;
        break;
    }
}

void Pass::Take(Work& work, const ToDoRecord& row)
{
    const std::string line = LineToWrite(row);
    if (work.line) {
        if (line != readLines_[*work.line]) {
            edits_->replaced[*work.line] = line;
        }
    } else {
        work.appended = edits_->appended.size();
        edits_->appended.push_back(line);
    }
    work.entry.baseLine = line;
    work.entry.remoteIcs = work.latestIcs;
    ++counts_.received;
}

void Pass::Send(Work& work, const ToDoRecord& row, int attempts)
{
    const std::string ics = WriteVtodo(row, work.entry.uid, work.latestIcs, zone_, now_);
    const PutResult result = client_.Put(work.entry.href, ics, work.entry.etag);
    switch (result.outcome) {
    case WriteOutcome::Done:
        work.entry.baseLine = LineToWrite(row);
        Confirm(work, ics, result.etag);
        ++counts_.sent;
        break;
    case WriteOutcome::NotFound:
        SendAgain(work, row);
        break;
    case WriteOutcome::PreconditionFailed:
        // Changed there since the listing: merge with what is there now.
        if (const auto resource = FetchOne(work.entry.href); resource && attempts > 1) {
            work.latestIcs = resource->ics;
            work.entry.etag = resource->etag;
            Resolve(work, SideChange::Changed, SideChange::Changed, attempts - 1);
        } else {
            work.entry = work.before;
            counts_.unfinished = true;
        }
        break;
    }
}

void Pass::SendAgain(Work& work, const ToDoRecord& row)
{
    work.latestIcs.clear();
    work.entry.etag.clear();
    const std::string line = LineToWrite(row);
    std::string ics = WriteVtodo(row, work.entry.uid, {}, zone_, now_);
    PutResult result = client_.Put(work.entry.href, ics, {});
    if (result.outcome != WriteOutcome::Done) {
        // The old name is taken or refused: the to-do goes up as a new one.
        work.entry.uid = NewUid();
        work.entry.href = CalDavClient::HrefFor(collection_, work.entry.uid);
        ics = WriteVtodo(row, work.entry.uid, {}, zone_, now_);
        result = client_.Put(work.entry.href, ics, {});
        if (result.outcome != WriteOutcome::Done) {
            throw SyncError("サーバーが ToDo を受け取りませんでした: " + work.entry.href);
        }
    }
    work.entry.baseLine = line;
    Confirm(work, ics, result.etag);
    ++counts_.sent;
}

void Pass::Merge(Work& work, int attempts)
{
    const ToDoRecord local = LocalRow(work);
    const auto remoteBase = Remote(work, work.entry.remoteIcs);
    const auto remote = Remote(work, work.latestIcs);
    if (!remote) {
        return;
    }
    const ToDoRecord base = ParseRecordLine(work.entry.baseLine);
    MergeOutcome outcome =
        remoteBase ? MergeRecords(base, remoteBase->row, local, remote->row) : MergeRecords(base, local, remote->row);
    if (outcome.conflictCopy) {
        // The server's version becomes a to-do of its own, here and there; the local one takes
        // the old identity.
        Work& copy = AddWork();
        copy.entry.uid = NewUid();
        copy.entry.href = CalDavClient::HrefFor(collection_, copy.entry.uid);
        copy.entry.baseLine = LineToWrite(*outcome.conflictCopy);
        copy.appended = edits_->appended.size();
        edits_->appended.push_back(copy.entry.baseLine);
        ++counts_.conflicts;
        Create({&copy});
    }
    if (!SameSyncedFields(outcome.merged, local)) {
        Take(work, outcome.merged);
    }
    if (!SameSyncedFields(outcome.merged, remote->row)) {
        Send(work, outcome.merged, attempts);
    } else {
        work.entry.baseLine = LineToWrite(outcome.merged);
        work.entry.remoteIcs = work.latestIcs;
    }
}

void Pass::Create(std::vector<Work*> creations)
{
    if (creations.empty()) {
        return;
    }
    // Recorded before anything is sent: a pass stopped after a PUT finds its to-do by this UID
    // next time instead of sending it again under another.
    std::vector<SyncedToDo> pending;
    std::vector<std::string> bodies;
    for (Work* work : creations) {
        const ToDoRecord row = ParseRecordLine(work->entry.baseLine);
        bodies.push_back(WriteVtodo(row, work->entry.uid, {}, zone_, now_));
        work->entry.pending = true;
        work->entry.remoteIcs = bodies.back();
        work->entry.etag.clear();
        pending.push_back(work->entry);
    }
    state_.Record(pending);
    for (std::size_t i = 0; i < creations.size(); ++i) {
        Work& work = *creations[i];
        const PutResult result = client_.Put(work.entry.href, bodies[i], {});
        if (result.outcome == WriteOutcome::Done) {
            Confirm(work, bodies[i], result.etag);
            ++counts_.sent;
            continue;
        }
        // Already there: sent by a pass that stopped before it heard back, or another program's
        // to-do under the same name. Ours when it holds the same to-do.
        const auto resource = FetchOne(work.entry.href);
        const auto remote = resource ? Remote(work, resource->ics) : std::nullopt;
        if (remote && SameSyncedFields(remote->row, ParseRecordLine(work.entry.baseLine))) {
            work.entry.etag = resource->etag;
            work.entry.remoteIcs = resource->ics;
            work.entry.pending = false;
        } else {
            work.entry.uid = NewUid();
            work.entry.href = CalDavClient::HrefFor(collection_, work.entry.uid);
            counts_.unfinished = true;  // goes up under the new UID next time
        }
    }
}

void Pass::Confirm(Work& work, const std::string& sent, const std::string& etag)
{
    work.entry.pending = false;
    if (!etag.empty()) {
        work.entry.etag = etag;
        work.entry.remoteIcs = sent;
    } else if (const auto resource = FetchOne(work.entry.href)) {
        // No ETag in the answer: what the server keeps is what the next pass compares against.
        work.entry.etag = resource->etag;
        work.entry.remoteIcs = resource->ics;
    }
    work.latestIcs = work.entry.remoteIcs;
}

std::optional<DavResource> Pass::FetchOne(const std::string& href)
{
    auto resources = client_.Fetch(collection_, std::span<const std::string>(&href, 1));
    if (resources.empty()) {
        return std::nullopt;
    }
    return std::move(resources.front());
}

void Pass::Finish()
{
    std::optional<EditedList> edited;
    if (!edits_->Empty()) {
        edited = ApplyListEdits(files_, listFile_, read_, *edits_);
    }
    SyncSnapshot next{collection_, listing_.syncToken, recurring_};
    for (const auto& work : works_) {
        if (work->drop) {
            continue;
        }
        SyncedToDo entry = work->entry;
        if (work->line) {
            const std::size_t line = *work->line;
            const bool hadEdit = edits_->removed[line] || edits_->replaced[line].has_value();
            if (edited && hadEdit && !edited->edited[line]) {
                // Saved over during the pass: this to-do waits for the next one as it was.
                entry = work->before;
                counts_.unfinished = true;
            } else if (edited) {
                entry.place = static_cast<std::int64_t>(edited->lineAt[line].value_or(line));
            } else {
                entry.place = static_cast<std::int64_t>(line);
            }
        } else if (work->appended) {
            entry.place = static_cast<std::int64_t>(edited->appendedAt[*work->appended]);
        }
        next.toDos.push_back(std::move(entry));
    }
    if (counts_.unfinished) {
        // The listing is asked again from the old token, so nothing of it is passed over.
        next.syncToken = old_.syncToken;
    }
    // In the order Load gives, so that a pass that changed nothing writes nothing.
    std::sort(next.toDos.begin(), next.toDos.end(), [](const SyncedToDo& a, const SyncedToDo& b) {
        return std::tie(a.place, a.uid) < std::tie(b.place, b.uid);
    });
    if (next != loaded_) {
        state_.Replace(next);
    }
}

}  // namespace

std::string SummaryText(const SyncCounts& counts)
{
    std::string text = "同期しました: 送信 " + std::to_string(counts.sent) + "、受信 " +
                       std::to_string(counts.received) + "、サーバーで削除 " + std::to_string(counts.deletedThere) +
                       "、リストから削除 " + std::to_string(counts.deletedHere) + "、競合 " +
                       std::to_string(counts.conflicts);
    if (counts.unfinished) {
        text += " (残りは次の同期で扱います)";
    }
    for (const std::string& summary : counts.recurring) {
        text += "\n繰り返しの ToDo は同期しません: " + summary.substr(0, summary.find_first_of("\r\n"));
    }
    return text;
}

SyncRun::SyncRun(FileSystem& files, CalDavClient& client, std::string collection, std::string zone, DateTime now)
    : files_(files),
      client_(client),
      collection_(std::move(collection)),
      zone_(std::move(zone)),
      now_(now)
{
}

SyncCounts SyncRun::Run(const std::filesystem::path& listFile)
{
    return Pass(files_, client_, collection_, zone_, now_, listFile).Run();
}

SyncCounts RunConfiguredSync(FileSystem& files, const Clock& clock, const std::filesystem::path& stateFile,
                             const std::filesystem::path& listFile)
{
    const auto config = ReadSyncConfig(files, stateFile);
    if (!config) {
        throw SyncError(
            "同期するサーバーが設定されていません。dolvane-cli sync --setup URL ユーザー名 で設定してください");
    }
    CalDavClient client(config->user, LoadPassword(config->collection, config->user), HttpSettings{config->caFile});
    return SyncRun(files, client, config->collection, LocalTimeZoneName(), clock.Now()).Run(listFile);
}

}  // namespace dolvane
