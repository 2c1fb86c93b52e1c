#pragma once

#include "core/ports/SiblingPort.h"
#include "core/store/FileIo.h"
#include "core/store/RecordLine.h"
#include "core/store/StoreState.h"
#include "core/store/ToDoRecord.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dolvane {

// Which lines of the file the current view shows.
using LineFilter = std::function<bool(const LineFacts&)>;

enum class SaveMode {
    Full,   // the "全て" tab: the rows are the whole file, in display order
    Merge,  // a filtered tab: rows go back to their own lines, new rows are appended
};

enum class SaveStatus {
    Saved,
    Failed,                // nothing written; the message says why
    ChangedOnDisk,         // full mode: another program changed the file since the load; ask first
    RefusedChangedOnDisk,  // merge mode: the file changed since the load, so line numbers are stale
    RefusedUnreadable,     // the last load of this file failed; saving would overwrite unseen lines
};

// The rows of the list and the state that goes with them, loaded from and saved to list files.
class ListStore final {
public:
    // Every read and write of a list file goes through `files`, which must outlive the store.
    explicit ListStore(FileSystem& files) noexcept : files_(&files) {}

    std::vector<ToDoRecord>& Rows() noexcept { return rows_; }
    const std::vector<ToDoRecord>& Rows() const noexcept { return rows_; }
    StoreState& State() noexcept { return state_; }
    const StoreState& State() const noexcept { return state_; }

    // Replaces the rows with the to-dos of `path` that pass `filter`, computing their time
    // texts at `now`; drops every unsaved change. A missing file gives an empty list. A file
    // that exists but cannot be read gives an empty list and an error, and saving over that
    // file is refused until a load of it succeeds.
    bool LoadList(const std::filesystem::path& path, const LineFilter& filter, DateTime now, FileError& error);

    struct SaveOptions {
        // Confirms a full save over a file that changed since it was loaded.
        bool overwriteChanged = false;
        // Told after every successful save; none in tests that do not care, nor for a file that
        // is not the list.
        SiblingPort* sibling = nullptr;
        // Starts the message of a failed write (UTF-8).
        std::string_view failure = "ToDoリストを保存できませんでした: ";
        // The caller holds the list file's lock already (from before its load); otherwise the
        // save takes it for its own check and write.
        bool lockHeld = false;
        // After the save the written file counts as the loaded one (the rows describe its
        // lines, and later saves check it for changes by others), also when the rows were
        // loaded from another file, as after an import.
        bool becomesLoaded = false;
    };

    // Writes the rows whose task is not blank (IsBlankTask) to `path`, under the list file's lock from the check
    // for changes by others to the rename. On success the unsaved and undo states and
    // OrderChanged are cleared and the rows' FileLine values describe the written file. On any
    // failure (also another writer holding the lock for seconds) nothing on disk and nothing in
    // the rows or their state changes.
    SaveStatus SaveList(const std::filesystem::path& path, SaveMode mode, FileError& error, const SaveOptions& options);

    // The path of the last load, successful or not.
    const std::filesystem::path& LoadedPath() const noexcept { return loadedPath_; }

private:
    struct Output {
        std::string text;
        std::vector<std::string> fileLines;  // the FileLine of each row after the write
    };
    Output FullOutput() const;
    Output MergedOutput(std::string_view current) const;
    bool SavesOverLoadedFile(const std::filesystem::path& path) const;
    bool IsUnreadable(const std::filesystem::path& path) const;

    FileSystem* files_;
    std::vector<ToDoRecord> rows_;
    StoreState state_;
    std::filesystem::path loadedPath_;
    FileFingerprint loadedFingerprint_;
    // Files whose last load failed: saving over them would destroy lines nobody has seen.
    std::vector<std::filesystem::path> unreadable_;
    // Non-blank lines of the loaded file that are not to-dos (no "=", or a blank task), each with
    // its line end. A full save keeps them after the rows instead of dropping text the user
    // cannot see.
    std::vector<std::string> otherLines_;
};

// The to-dos of `path` that pass `filter`, one at a time in file order, without keeping them: for
// reading a long list in passing. Each row is as LoadList makes it (FileLine, LineEnd) but
// without SourceLine, as it is not saved, and without computed texts, which the reader makes as it
// needs them. The file is read piece by piece, never held whole. False with `error` set when the
// file cannot be read (a failure part-way comes after the rows read before it).
bool VisitListRows(FileSystem& files, const std::filesystem::path& path, const LineFilter& filter,
                   const std::function<void(ToDoRecord&)>& visit, FileError& error);

// Sends the sibling the notice that the list file was saved.
void NotifySibling(SiblingPort& sibling);

}  // namespace dolvane
