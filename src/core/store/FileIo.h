#pragma once

#include "core/store/FileSystem.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace dolvane {

// The fingerprint of a file just written with `bytes`, without reading it back.
FileFingerprint FingerprintOfWritten(FileSystem& files, const std::filesystem::path& path, std::string_view bytes);

// The fingerprint of the file as it is now (reading it to hash its bytes).
std::optional<FileFingerprint> FingerprintOf(FileSystem& files, const std::filesystem::path& path, FileError& error);

// The fingerprint of bytes just read from a file modified at `modifiedNanoseconds`.
FileFingerprint FingerprintOfBytes(std::string_view bytes, std::int64_t modifiedNanoseconds);

// Splits text into lines at CR LF, CR or LF; a last line without a line end counts, an empty
// text after the last line end does not.
std::vector<std::string_view> SplitLines(std::string_view text);

// The line end that follows each of `lines` (SplitLines of `text`): "\r\n", "\n", "\r", or
// empty for a last line without one.
std::vector<std::string_view> LineEnds(std::string_view text, const std::vector<std::string_view>& lines);

}  // namespace dolvane
