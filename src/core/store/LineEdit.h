#pragma once

#include "core/ports/FileSystem.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace dolvane {

// Edits of a list file that touch one line and copy every other byte as it is, for commands that
// change one to-do without reading the others (dolvane-cli's add and done). The result is what a
// merged save of the same change writes.

// The new file in pieces that point into the old bytes and the new line, written one after another.
struct EditedFile {
    std::array<std::string_view, 4> pieces;
    std::size_t lineNumber = 0;  // of the new or replaced line, 0-based
};

// Line `index` (0-based) of `bytes` as ForEachLine counts lines, without its line end; nothing
// when the file has fewer lines. Only the line ends before it are looked for.
std::optional<std::string_view> LineAt(std::string_view bytes, std::size_t index);

// The file with `line` added as its last line, followed by CR LF; a last line without a line end
// gets one first.
EditedFile WithAppendedLine(std::string_view bytes, std::string_view line);

// The file with the line that starts at `start` and holds `length` bytes (without its line end)
// replaced by `line`; its line end stays.
EditedFile WithReplacedLine(std::string_view bytes, std::size_t start, std::size_t length, std::string_view line);

// Writes `edited` over `path` unless another file stands there now, or the file was rewritten,
// since it was read (`read`), as a program that ignores the list's lock may have done: then
// nothing is written and the error says so. The caller holds the list file's lock.
bool WriteUnlessChanged(FileSystem& files, const std::filesystem::path& path, const std::optional<FileStamp>& read,
                        const EditedFile& edited, FileError& error);

}  // namespace dolvane
