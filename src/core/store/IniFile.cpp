#include "core/store/IniFile.h"

#include "core/text/ByteKind.h"

#include <algorithm>
#include <utility>

namespace dolvane {
namespace {

constexpr std::string_view blanks = " \t";

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

unsigned char LowerAscii(unsigned char byte)
{
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Only single-byte letters fold: the trail byte of "ア" (0x83 0x41) is an "A" by value, and
// folding it would make the name equal to "ヂ" (0x83 0x61).
bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    bool trail = false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y && (trail || LowerAscii(x) != LowerAscii(y))) {
            return false;
        }
        trail = !trail && IsCp932LeadByte(x);
    }
    return true;
}

// The name of a "[name]" line. The closing "]" is searched for character by character, since a
// trail byte can be 0x5D ("ゾ" is 0x83 0x5D); a line without one names a section to its end.
std::optional<std::string_view> SectionNameOf(std::string_view line)
{
    line = Trimmed(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    line.remove_prefix(1);
    std::size_t end = 0;
    while (end < line.size() && line[end] != ']') {
        end += IsCp932LeadByte(static_cast<unsigned char>(line[end])) ? 2 : 1;
    }
    return Trimmed(line.substr(0, std::min(end, line.size())));
}

// The position of the "=" of an entry line; comments (";") and lines without "=" are no entries.
// "=" (0x3D) is never a trail byte, so a plain search finds it.
std::optional<std::size_t> EqualsOf(std::string_view line)
{
    const auto trimmed = Trimmed(line);
    const auto equals = line.find('=');
    if (trimmed.empty() || trimmed.front() == ';' || equals == std::string_view::npos) {
        return std::nullopt;
    }
    return equals;
}

struct Location {
    std::optional<std::size_t> header;
    std::optional<std::size_t> entry;
    std::size_t insertAt = 0;  // after the section's last entry, or after its header
};

Location Find(const std::vector<std::string>& lines, std::string_view section, std::string_view key)
{
    Location location;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionNameOf(lines[i])) {
            if (location.header) {
                break;
            }
            if (SameName(*name, section)) {
                location.header = i;
                location.insertAt = i + 1;
            }
            continue;
        }
        const auto equals = EqualsOf(lines[i]);
        if (!location.header || !equals) {
            continue;
        }
        if (SameName(Trimmed(std::string_view(lines[i]).substr(0, *equals)), key)) {
            location.entry = i;
            break;
        }
        location.insertAt = i + 1;
    }
    return location;
}

}  // namespace

IniFile::IniFile(std::string_view text)
{
    for (const auto line : SplitLines(text)) {
        lines_.emplace_back(line);
    }
}

std::optional<IniFile> IniFile::Load(FileSystem& files, const std::filesystem::path& path, FileError& error)
{
    const auto contents = files.ReadWholeFile(path, error);
    if (!contents) {
        return std::nullopt;
    }
    return IniFile(contents->bytes);
}

bool IniFile::Save(FileSystem& files, const std::filesystem::path& path, FileError& error) const
{
    return files.WriteFileAtomically(path, Text(), error);
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const
{
    const auto location = Find(lines_, section, key);
    if (!location.entry) {
        return std::nullopt;
    }
    const std::string_view line = lines_[*location.entry];
    auto value = Trimmed(line.substr(*EqualsOf(line) + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

void IniFile::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    const auto location = Find(lines_, section, key);
    if (location.entry) {
        auto& line = lines_[*location.entry];
        line.resize(*EqualsOf(line) + 1);
        line += value;
        return;
    }
    std::string entry = std::string(key) + "=" + std::string(value);
    if (location.header) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(location.insertAt), std::move(entry));
        return;
    }
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(std::move(entry));
}

void IniFile::RemoveSection(std::string_view section)
{
    const auto location = Find(lines_, section, {});
    if (!location.header) {
        return;
    }
    auto end = lines_.begin() + static_cast<std::ptrdiff_t>(*location.header) + 1;
    while (end != lines_.end() && !SectionNameOf(*end)) {
        ++end;
    }
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*location.header), end);
}

std::string IniFile::Text() const
{
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace dolvane
