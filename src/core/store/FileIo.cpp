#include "core/store/FileIo.h"

#include <cstring>
#include <functional>

namespace dolvane {

FileFingerprint FingerprintOfBytes(std::string_view bytes, std::int64_t modifiedNanoseconds)
{
    FileFingerprint fingerprint;
    fingerprint.exists = true;
    fingerprint.size = bytes.size();
    fingerprint.modifiedNanoseconds = modifiedNanoseconds;
    fingerprint.hash = std::hash<std::string_view>{}(bytes);
    return fingerprint;
}

FileFingerprint FingerprintOfWritten(FileSystem& files, const std::filesystem::path& path, std::string_view bytes)
{
    return FingerprintOfBytes(bytes, files.ModifiedNanoseconds(path).value_or(0));
}

std::optional<FileFingerprint> FingerprintOf(FileSystem& files, const std::filesystem::path& path, FileError& error)
{
    auto contents = files.ReadWholeFile(path, error);
    if (!contents) {
        return std::nullopt;
    }
    return contents->fingerprint;
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    lines.reserve(text.size() / 64);
    const char* const end = text.data() + text.size();
    const char* lineStart = text.data();
    // memchr finds each LF at memory speed, and a CR is looked for only before the next LF, so
    // the usual CR LF costs one short extra scan. The next LF is kept while lone CRs end lines
    // before it, so a file of CR-only line ends is still read in one pass.
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
        lines.emplace_back(lineStart, static_cast<std::size_t>(lineEnd - lineStart));
        if (lineEnd == end) {
            break;
        }
        // CR LF is one line end.
        lineStart = (cr != nullptr && cr + 1 == lf && lf != end) ? lf + 1 : lineEnd + 1;
    }
    return lines;
}

std::vector<std::string_view> LineEnds(std::string_view text, const std::vector<std::string_view>& lines)
{
    std::vector<std::string_view> ends;
    ends.reserve(lines.size());
    const char* const textEnd = text.data() + text.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const char* from = lines[i].data() + lines[i].size();
        const char* to = i + 1 < lines.size() ? lines[i + 1].data() : textEnd;
        ends.emplace_back(from, static_cast<std::size_t>(to - from));
    }
    return ends;
}

}  // namespace dolvane
