#pragma once

#include "core/store/FileSystem.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace dolvane {

// Edits of a list file that touch one line and copy every other byte as it is, for commands that
// change one to-do without reading the others (dolvane-cli's add and done). The result is what a
// merged save of the same change writes.

// The file with `line` added as its last line, followed by CR LF; a last line without a line end
// gets one first. `lineNumber` is the 0-based number of the new line.
std::string WithAppendedLine(std::string_view bytes, std::string_view line, std::size_t& lineNumber);

// The file with the line that starts at `start` and holds `length` bytes (without its line end)
// replaced by `line`; its line end stays.
std::string WithReplacedLine(std::string_view bytes, std::size_t start, std::size_t length, std::string_view line);

// Writes `bytes` over `path` unless the file differs from what was read (`read`), which another
// program that ignores the list's lock may have done: then nothing is written and the error says
// so. The caller holds the list file's lock.
bool WriteUnlessChanged(FileSystem& files, const std::filesystem::path& path, const FileFingerprint& read,
                        std::string_view bytes, FileError& error);

}  // namespace dolvane
