#pragma once

#include "core/ports/FileSystem.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// What a sync pass changes in the list file, named by the lines of the file as the pass read it
// (0-based, every line, to-do or not). Lines without an edit keep their bytes and line ends.
struct ListEdits {
    explicit ListEdits(std::size_t lineCount) : replaced(lineCount), removed(lineCount, false) {}

    std::vector<std::optional<std::string>> replaced;  // the new line, without its line end
    std::vector<bool> removed;
    std::vector<std::string> appended;  // new lines at the end, each with CR LF

    bool Empty() const;
};

// The list file with a pass's edits made on the file as it is now (`current`), which may differ
// from what the pass read (`read`) when someone saved meanwhile: an edit is made only where its
// line is still there with the bytes the pass read; others are left for the next pass.
struct EditedList {
    std::string bytes;
    // Per line read: where it (or what replaced it) is in `bytes`, counted in lines; nothing when
    // it was removed or is gone.
    std::vector<std::optional<std::size_t>> lineAt;
    // Per line read: whether its edit (if it had one) was made.
    std::vector<bool> edited;
    std::vector<std::size_t> appendedAt;
};
EditedList EditList(std::string_view read, std::string_view current, const ListEdits& edits);

// EditList under the list file's lock on the file as it is then, written atomically as every
// save is. Throws SyncError when the file cannot be locked, read or written.
EditedList ApplyListEdits(FileSystem& files, const std::filesystem::path& listFile, std::string_view read,
                          const ListEdits& edits);

}  // namespace dolvane
