#include "sync/SyncPass.h"

namespace dolvane::sync_pass {

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

}  // namespace dolvane::sync_pass
