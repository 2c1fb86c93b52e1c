#pragma once

#include "core/store/FileSystem.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace dolvane {

// The fingerprint of a file just written with `bytes`, without reading it back.
FileFingerprint FingerprintOfWritten(FileSystem& files, const std::filesystem::path& path, std::string_view bytes);

// The fingerprint of the file as it is now (reading it to hash its bytes).
std::optional<FileFingerprint> FingerprintOf(FileSystem& files, const std::filesystem::path& path, FileError& error);

// The fingerprint of a file as it was read (exists = false for a missing one).
FileFingerprint FingerprintOfContents(const FileContents& contents);

// The fingerprint of bytes just read from a file modified at `modifiedNanoseconds`.
FileFingerprint FingerprintOfBytes(std::string_view bytes, std::int64_t modifiedNanoseconds);

// Calls `visit(line, lineEnd)` for each line of `text` in order: lines end at CR LF, CR or LF; a
// last line without a line end counts (with an empty end), an empty text after the last line end
// does not. memchr finds each LF at memory speed, and a CR is looked for only before the next LF,
// so the usual CR LF costs one short extra scan; a file of CR-only line ends is still one pass.
template <typename Visit> void ForEachLine(std::string_view text, Visit&& visit)
{
    const char* const end = text.data() + text.size();
    const char* lineStart = text.data();
    const char* lf = nullptr;
    while (lineStart != end) {
        if (lf == nullptr || lf < lineStart) {
            const auto* found =
                static_cast<const char*>(std::memchr(lineStart, '\n', static_cast<std::size_t>(end - lineStart)));
            lf = found != nullptr ? found : end;
        }
        const auto* cr =
            static_cast<const char*>(std::memchr(lineStart, '\r', static_cast<std::size_t>(lf - lineStart)));
        const char* lineEnd = cr != nullptr ? cr : lf;
        // CR LF is one line end.
        const char* next = lineEnd == end ? end : (cr != nullptr && cr + 1 == lf && lf != end) ? lf + 1 : lineEnd + 1;
        visit(std::string_view(lineStart, static_cast<std::size_t>(lineEnd - lineStart)),
              std::string_view(lineEnd, static_cast<std::size_t>(next - lineEnd)));
        lineStart = next;
    }
}

// The lines of `text` as ForEachLine finds them.
std::vector<std::string_view> SplitLines(std::string_view text);

// The line end that follows each of `lines` (SplitLines of `text`): "\r\n", "\n", "\r", or
// empty for a last line without one.
std::vector<std::string_view> LineEnds(std::string_view text, const std::vector<std::string_view>& lines);

}  // namespace dolvane
