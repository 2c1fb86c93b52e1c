#pragma once

#include "core/ports/FileSystem.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>
#include <type_traits>
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
        const std::string_view line(lineStart, static_cast<std::size_t>(lineEnd - lineStart));
        const std::string_view ending(lineEnd, static_cast<std::size_t>(next - lineEnd));
        // A visitor that gives a bool stops the walk with false.
        if constexpr (std::is_same_v<std::invoke_result_t<Visit&, std::string_view, std::string_view>, bool>) {
            if (!visit(line, ending)) {
                return;
            }
        } else {
            visit(line, ending);
        }
        lineStart = next;
    }
}

// ForEachLine for bytes that come piece by piece (FileSystem::ReadThrough): hands on the lines
// of `bytes` that are finished and gives how many bytes they took, so the rest comes again with
// what follows. A CR at the very end may still get its LF, so it does not finish a line until
// more bytes or the end say. Over all pieces, `visit` sees what ForEachLine of the whole gives.
template <typename Visit> std::size_t ForEachFinishedLine(std::string_view bytes, bool atEnd, Visit&& visit)
{
    if (atEnd) {
        ForEachLine(bytes, visit);
        return bytes.size();
    }
    std::size_t last = bytes.find_last_of("\r\n");
    if (last != std::string_view::npos && last + 1 == bytes.size() && bytes[last] == '\r') {
        last = last == 0 ? std::string_view::npos : bytes.find_last_of("\r\n", last - 1);
    }
    if (last == std::string_view::npos) {
        return 0;
    }
    ForEachLine(bytes.substr(0, last + 1), visit);
    return last + 1;
}

// The lines of `text` as ForEachLine finds them.
std::vector<std::string_view> SplitLines(std::string_view text);

// The line end that follows each of `lines` (SplitLines of `text`): "\r\n", "\n", "\r", or
// empty for a last line without one.
std::vector<std::string_view> LineEnds(std::string_view text, const std::vector<std::string_view>& lines);

}  // namespace dolvane
