#include "sync/ListEdits.h"

#include "core/store/FileIo.h"
#include "core/sync/LineMatch.h"
#include "sync/CalDavClient.h"

#include <algorithm>

namespace dolvane {
namespace {

std::vector<std::string> Copies(const std::vector<std::string_view>& lines)
{
    return {lines.begin(), lines.end()};
}

}  // namespace

bool ListEdits::Empty() const
{
    return appended.empty() && std::none_of(removed.begin(), removed.end(), [](bool r) { return r; }) &&
           std::none_of(replaced.begin(), replaced.end(), [](const auto& line) { return line.has_value(); });
}

EditedList EditList(std::string_view read, std::string_view current, const ListEdits& edits)
{
    const auto readLines = SplitLines(read);
    const auto lines = SplitLines(current);
    const auto ends = LineEnds(current, lines);
    // Which line now each line read became: the same when nobody saved meanwhile, else the line
    // diff the sync matches its lines with (moved lines by their bytes, changed ones by place).
    std::vector<std::optional<std::size_t>> readOf(lines.size());
    if (read == current) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            readOf[i] = i;
        }
    } else {
        const auto readCopies = Copies(readLines);
        const auto copies = Copies(lines);
        readOf = MatchLines(readCopies, copies);
    }

    EditedList result;
    result.lineAt.resize(readLines.size());
    result.edited.resize(readLines.size(), false);
    std::size_t written = 0;
    bool endMissing = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (const auto r = readOf[i]) {
            // Only a line still as it was read takes its edit.
            const bool same = readLines[*r] == lines[i];
            if (same && edits.removed[*r]) {
                result.edited[*r] = true;
                continue;
            }
            if (same && edits.replaced[*r]) {
                line = *edits.replaced[*r];
                result.edited[*r] = true;
            }
            result.lineAt[*r] = written;
        }
        result.bytes.append(line);
        result.bytes.append(ends[i]);
        endMissing = ends[i].empty();
        ++written;
    }
    if (endMissing && !edits.appended.empty()) {
        result.bytes.append("\r\n");
    }
    for (const std::string& line : edits.appended) {
        result.bytes.append(line);
        result.bytes.append("\r\n");
        result.appendedAt.push_back(written++);
    }
    return result;
}

EditedList ApplyListEdits(FileSystem& files, const std::filesystem::path& listFile, std::string_view read,
                          const ListEdits& edits)
{
    FileError error;
    const auto lock = files.LockListFile(listFile, error);
    if (!lock) {
        throw SyncError("ToDoリストを書き込めませんでした: " + error.message);
    }
    files.RemoveStaleTemporaryFiles(listFile);
    const auto current = files.ReadWholeFile(listFile, error);
    if (!current) {
        throw SyncError("ToDoリストを読み込めませんでした: " + error.message);
    }
    EditedList edited = EditList(read, current->bytes, edits);
    if (edited.bytes != current->bytes && !files.WriteFileAtomically(listFile, edited.bytes, error)) {
        throw SyncError("ToDoリストを書き込めませんでした: " + error.message);
    }
    return edited;
}

}  // namespace dolvane
