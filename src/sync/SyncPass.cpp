#include "sync/SyncPass.h"

namespace dolvane::sync_pass {

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

}  // namespace dolvane::sync_pass
