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
    return FingerprintOfContents(*contents);
}

FileFingerprint FingerprintOfContents(const FileContents& contents)
{
    return contents.stamp ? FingerprintOfBytes(contents.bytes, contents.stamp->modifiedNanoseconds) : FileFingerprint{};
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    lines.reserve(text.size() / 64);
    ForEachLine(text, [&lines](std::string_view line, std::string_view) { lines.push_back(line); });
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
