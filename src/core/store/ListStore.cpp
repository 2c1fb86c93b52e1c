#include "core/store/ListStore.h"

#include "core/text/Numbers.h"

#include <algorithm>
#include <new>
#include <optional>

namespace dolvane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool IsBlankLine(std::string_view line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) <= 0x20; });
}

bool SamePath(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code error;
    const auto canonicalA = std::filesystem::weakly_canonical(a, error);
    const auto canonicalB = std::filesystem::weakly_canonical(b, error);
    return canonicalA == canonicalB;
}

// A visitor of lines (ForEachLine) that hands each to-do line passing `filter` to `onRow` as a
// row (FileLine, LineEnd and the computed texts at `now` set), and every line that holds no
// to-do, with its end, to `onOther`. Lines are counted from the first one it is handed.
// Without `forSaving` (rows only read) SourceLine and the computed texts are left out.
template <typename OnRow, typename OnOther>
auto RowReader(const LineFilter& filter, DateTime now, bool forSaving, OnRow& onRow, OnOther& onOther)
{
    // One row used again for every line; a reader that keeps rows moves them out.
    return [&filter, now, forSaving, &onRow, &onOther, index = std::size_t{0},
            row = ToDoRecord{}](std::string_view line, std::string_view end) mutable {
        const std::size_t lineNumber = index++;
        const auto facts = ReadLineFacts(line);
        if (!facts || !facts->hasTask) {
            onOther(line, end);
            return;
        }
        if (filter && !filter(*facts)) {
            return;
        }
        ParseRecordLineInto(line, *facts, row, forSaving);
        row.FileLine = std::to_string(lineNumber);
        if (end != kLineEnd) {
            row.LineEnd = end;
        }
        if (forSaving) {
            ComputeRowTexts(row, now);
        }
        onRow(row);
    };
}

}  // namespace

bool VisitListRows(FileSystem& files, const std::filesystem::path& path, const LineFilter& filter,
                   const std::function<void(ToDoRecord&)>& visit, FileError& error)
{
    files.RemoveStaleTemporaryFiles(path);
    // Piece by piece: a long list is never held whole.
    auto ignore = [](std::string_view, std::string_view) {};
    auto reader = RowReader(filter, DateTime{}, false, visit, ignore);
    const bool read = files.ReadThrough(
        path, [&reader](std::string_view bytes, bool atEnd) { return ForEachFinishedLine(bytes, atEnd, reader); },
        error);
    if (!read) {
        error.message = std::string("ToDoリストを読み込めませんでした: ") + error.message;
    }
    return read;
}

bool ListStore::LoadList(const std::filesystem::path& path, const LineFilter& filter, DateTime now, FileError& error)
{
    rows_.clear();
    otherLines_.clear();
    state_.DeletedFileLines.clear();
    state_.UnsavedChanges = false;
    state_.UndoAvailable = false;
    loadedPath_ = path;
    files_->RemoveStaleTemporaryFiles(path);

    const auto contents = files_->ReadWholeFile(path, error);
    std::erase_if(unreadable_, [&path](const std::filesystem::path& known) { return SamePath(known, path); });
    if (!contents) {
        unreadable_.push_back(path);
        loadedFingerprint_ = {};
        error.message = std::string("ToDoリストを読み込めませんでした: ") + error.message;
        return false;
    }
    loadedFingerprint_ = FingerprintOfContents(*contents);

    // Room for a row per line, so that the rows of a usual file are never moved while they are
    // read. The lines are counted by their LFs, which find looks for with memchr.
    const std::string_view bytes = contents->bytes;
    std::size_t lineFeeds = 0;
    for (auto at = bytes.find('\n'); at != std::string_view::npos; at = bytes.find('\n', at + 1)) {
        ++lineFeeds;
    }
    try {
        rows_.reserve(lineFeeds + 1);
    } catch (const std::bad_alloc&) {
        // Only room asked for ahead: a file of many blank lines needs far less.
    }
    auto keepRow = [this](ToDoRecord& row) { rows_.push_back(std::move(row)); };
    auto keepOther = [this](std::string_view line, std::string_view end) {
        if (!IsBlankLine(line)) {
            otherLines_.emplace_back(line).append(end);
        }
    };
    try {
        ForEachLine(contents->bytes, RowReader(filter, now, true, keepRow, keepOther));
    } catch (const std::bad_alloc&) {
        // Like a file that cannot be read: no rows, and no save over the lines nobody has seen.
        std::vector<ToDoRecord>().swap(rows_);
        std::vector<std::string>().swap(otherLines_);
        unreadable_.push_back(path);
        loadedFingerprint_ = {};
        error.message = "ToDoリストを読み込めませんでした: " + path.string() + ": メモリが足りません";
        return false;
    }
    // A tab that shows few of the lines gives back the room of the others.
    if (rows_.capacity() - rows_.size() > rows_.capacity() / 8) {
        rows_.shrink_to_fit();
    }
    return true;
}

ListStore::Output ListStore::FullOutput() const
{
    Output output;
    output.fileLines.reserve(rows_.size());
    std::size_t size = 0;
    for (const auto& row : rows_) {
        size += row.TaskText.size() + 64;
    }
    for (const auto& other : otherLines_) {
        size += other.size() + kLineEnd.size();
    }
    output.text.reserve(size);
    // Every line keeps the line end it was read with (CR LF unless it had another; the file's
    // last line may have had none, and gets CR LF now that lines may follow it).
    std::size_t written = 0;
    for (const auto& row : rows_) {
        if (IsBlankTask(row.TaskText)) {
            output.fileLines.emplace_back();
            continue;
        }
        output.fileLines.push_back(std::to_string(written++));
        output.text += LineToWrite(row);
        output.text += row.LineEnd.empty() ? kLineEnd : row.LineEnd.View();
    }
    for (const auto& other : otherLines_) {
        output.text += other;
        if (other.back() != '\n' && other.back() != '\r') {
            output.text += kLineEnd;
        }
    }
    return output;
}

ListStore::Output ListStore::MergedOutput(std::string_view current) const
{
    // Lines the rows do not touch are written straight from the file's bytes, line ends included.
    std::vector<std::string_view> lines = SplitLines(current);
    std::vector<std::string_view> ends = LineEnds(current, lines);
    std::vector<std::string> written;
    written.reserve(rows_.size());  // no reallocation: `lines` points into these strings

    // Where each row's line stands before the deletions: -1 for a row that is not written
    // and had no line.
    std::vector<std::int64_t> positions;
    positions.reserve(rows_.size());
    for (const auto& row : rows_) {
        const auto fileLine = ParseInt32(row.FileLine);
        const bool hasLine = fileLine && *fileLine >= 0 && static_cast<std::size_t>(*fileLine) < lines.size();
        if (IsBlankTask(row.TaskText)) {
            positions.push_back(hasLine ? *fileLine : -1);
            continue;
        }
        const std::string_view line = written.emplace_back(LineToWrite(row));
        if (hasLine) {
            lines[static_cast<std::size_t>(*fileLine)] = line;
            positions.push_back(*fileLine);
        } else {
            positions.push_back(static_cast<std::int64_t>(lines.size()));
            lines.push_back(line);
            ends.push_back(kLineEnd);
        }
    }

    // Each listed line goes once, whatever the list repeats; entries that are not line numbers
    // of this file are ignored.
    std::vector<std::int64_t> deleted;
    for (const auto& text : state_.DeletedFileLines) {
        const auto index = ParseInt32(text);
        if (index && *index >= 0 && static_cast<std::size_t>(*index) < lines.size()) {
            deleted.push_back(*index);
        }
    }
    std::sort(deleted.begin(), deleted.end());
    deleted.erase(std::unique(deleted.begin(), deleted.end()), deleted.end());

    Output output;
    std::size_t size = 0;
    for (const auto line : lines) {
        size += line.size() + kLineEnd.size();
    }
    output.text.reserve(size);
    // A line read without a line end (the file's last) gets one only when lines follow it now.
    std::size_t lastKept = lines.size();
    for (std::size_t i = lines.size(); i-- > 0;) {
        if (!std::binary_search(deleted.begin(), deleted.end(), static_cast<std::int64_t>(i))) {
            lastKept = i;
            break;
        }
    }
    auto nextDeleted = deleted.begin();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (nextDeleted != deleted.end() && *nextDeleted == static_cast<std::int64_t>(i)) {
            ++nextDeleted;
            continue;
        }
        output.text += lines[i];
        output.text += ends[i].empty() && i != lastKept ? kLineEnd : ends[i];
    }

    output.fileLines.reserve(rows_.size());
    for (const auto position : positions) {
        const auto below = std::lower_bound(deleted.begin(), deleted.end(), position);
        const bool gone = below != deleted.end() && *below == position;
        if (position < 0 || gone) {
            output.fileLines.emplace_back();
        } else {
            output.fileLines.push_back(std::to_string(position - (below - deleted.begin())));
        }
    }
    return output;
}

bool ListStore::SavesOverLoadedFile(const std::filesystem::path& path) const
{
    return !loadedPath_.empty() && SamePath(path, loadedPath_);
}

bool ListStore::IsUnreadable(const std::filesystem::path& path) const
{
    return std::any_of(unreadable_.begin(), unreadable_.end(),
                       [&path](const std::filesystem::path& known) { return SamePath(known, path); });
}

SaveStatus ListStore::SaveList(const std::filesystem::path& path, SaveMode mode, FileError& error,
                               const SaveOptions& options)
{
    const bool overLoaded = SavesOverLoadedFile(path);
    if (IsUnreadable(path)) {
        error.message = std::string("ToDoリストが読み込めていないため、上書きしません: ") + path.string();
        return SaveStatus::RefusedUnreadable;
    }
    // From the check below to the rename no other writer may replace the file.
    std::unique_ptr<FileLock> lock;
    if (!options.lockHeld) {
        lock = files_->LockListFile(path, error);
        if (!lock) {
            error.message = std::string(options.failure) + error.message;
            return SaveStatus::Failed;
        }
    }

    Output output;
    if (mode == SaveMode::Merge) {
        const auto current = files_->ReadWholeFile(path, error);
        if (!current) {
            return SaveStatus::Failed;
        }
        if (overLoaded && FingerprintOfContents(*current) != loadedFingerprint_) {
            error.message = std::string("ToDoリストが読み込んだ後に他のプログラムで変更されています。"
                                        "変更内容は保存していません: ") +
                            path.string();
            return SaveStatus::RefusedChangedOnDisk;
        }
        output = MergedOutput(current->bytes);
    } else {
        if (overLoaded && !options.overwriteChanged) {
            const auto now = FingerprintOf(*files_, path, error);
            if (!now) {
                return SaveStatus::Failed;
            }
            if (*now != loadedFingerprint_) {
                error.message =
                    std::string("ToDoリストが読み込んだ後に他のプログラムで変更されています: ") + path.string();
                return SaveStatus::ChangedOnDisk;
            }
        }
        output = FullOutput();
    }

    if (!files_->WriteFileAtomically(path, output.text, error)) {
        error.message = std::string(options.failure) + error.message;
        return SaveStatus::Failed;
    }

    if (overLoaded || options.becomesLoaded) {
        loadedPath_ = path;
        std::erase_if(unreadable_, [&path](const std::filesystem::path& known) { return SamePath(known, path); });
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            rows_[i].FileLine = std::move(output.fileLines[i]);
        }
        state_.DeletedFileLines.clear();
        loadedFingerprint_ = FingerprintOfWritten(*files_, path, output.text);
    }
    state_.UnsavedChanges = false;
    state_.UndoAvailable = false;
    state_.OrderChanged = false;
    if (options.sibling != nullptr) {
        NotifySibling(*options.sibling);
    }
    return SaveStatus::Saved;
}

void NotifySibling(SiblingPort& sibling)
{
    sibling.Send(0, kSiblingTag);
}

}  // namespace dolvane
