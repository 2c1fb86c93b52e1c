#include "cli/CliText.h"

#include "core/text/ByteKind.h"
#include "core/text/Cp932Codec.h"

#include <algorithm>
#include <array>
#include <unicode/unistr.h>

namespace dolvane::cli {
namespace {

// Decodes on its own to U+FFFD and is never a lead byte, so it stands in for a stray lead byte.
constexpr char kStrayLeadStandIn = '\xFF';
constexpr std::size_t kFlushSize = std::size_t{1} << 16;

}  // namespace

std::string DisplayUtf8(std::string_view cp932)
{
    try {
        return Cp932ToUtf8(cp932);
    } catch (const Cp932Error&) {
        const std::u16string text = DecodeCp932ForDisplay(cp932);
        std::string utf8;
        icu::UnicodeString(false, text.data(), static_cast<int32_t>(text.size())).toUTF8String(utf8);
        return utf8;
    }
}

std::string ArgumentToCp932(std::string_view utf8, std::string_view what)
{
    try {
        return Utf8ToCp932(utf8);
    } catch (const Cp932Error& error) {
        throw CliError(std::string(what) + " の " + std::to_string(error.Offset() + 1) +
                       " バイト目の文字は ToDo リストに書けません (cp932 にない文字か、UTF-8 でない入力です)");
    }
}

std::uint32_t Cp932Transcoder::Known(std::string_view character)
{
    const std::string converted = DisplayUtf8(character);
    // Every cp932 character lies in the BMP, so its UTF-8 form has at most three bytes.
    std::uint32_t known = static_cast<std::uint32_t>(std::min<std::size_t>(converted.size(), 3)) << 24;
    for (std::size_t k = 0; k < converted.size() && k < 3; ++k) {
        known |= static_cast<std::uint32_t>(static_cast<unsigned char>(converted[k])) << (8 * k);
    }
    return known;
}

void Cp932Transcoder::AppendCharacter(std::string_view character, std::string& utf8)
{
    char bytes[3];
    utf8.append(bytes, static_cast<std::size_t>(Write(character, bytes) - bytes));
}

Utf8Writer::Utf8Writer(std::ostream& out, bool convert) : out_(out), convert_(convert)
{
    pending_.reserve(kFlushSize + 4096);
}

Utf8Writer::~Utf8Writer()
{
    try {
        Flush();
    } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor must not throw; Flush was the caller's to call
    }
}

namespace {

// What Field must look at in a byte: nothing (copied in a run), a lead byte, or a single-byte
// character an escape may change (a control character, a backslash or a double quote).
enum ByteClass : unsigned char { kPlain, kLead, kSpecial };

constexpr std::array<unsigned char, 256> kByteClasses = [] {
    std::array<unsigned char, 256> classes{};
    for (int byte = 0; byte < 256; ++byte) {
        const auto value = static_cast<unsigned char>(byte);
        classes[value] = IsCp932LeadByte(value)                            ? kLead
                         : (value < 0x20 || value == '\\' || value == '"') ? kSpecial
                                                                           : kPlain;
    }
    return classes;
}();

}  // namespace

void Utf8Writer::Field(std::string_view cp932, Escape escape)
{
    if (!convert_ && escape == Escape::None) {
        pending_ += cp932;  // cp932 out: the bytes exactly as the file holds them
        return;
    }
    // One pass: runs of ordinary single bytes are copied at once, double-byte characters are
    // copied (cp932 out) or converted (UTF-8 out) whole, and only the single-byte characters an
    // escape cares about and stray lead bytes are handled one by one.
    const auto* const bytes = reinterpret_cast<const unsigned char*>(cp932.data());
    const std::size_t size = cp932.size();
    const auto special = [escape](unsigned char byte) {
        return escape != Escape::None && kByteClasses[byte] == kSpecial;
    };
    std::size_t i = 0;
    while (i < size) {
        const unsigned char byte = bytes[i];
        if (special(byte)) {
            const bool lineBreak = byte == '\r' || byte == '\n';
            // CR LF is one line break.
            if (byte == '\r' && i + 1 < size && bytes[i + 1] == '\n') {
                ++i;
            }
            AppendEscaped(static_cast<char>(byte), lineBreak, escape);
            ++i;
            continue;
        }
        if (byte >= 0x80 && convert_) {
            i = AppendConvertedRun(cp932, i);
            continue;
        }
        if (kByteClasses[byte] == kLead) {
            const bool pair = i + 1 < size && IsCp932TrailByte(bytes[i + 1]);
            pending_.append(cp932.data() + i, pair ? 2 : 1);
            i += pair ? 2 : 1;
            continue;
        }
        std::size_t run = i + 1;
        while (run < size && kByteClasses[bytes[run]] == kPlain && (bytes[run] < 0x80 || !convert_) &&
               !special(bytes[run])) {
            ++run;
        }
        pending_.append(cp932.data() + i, run - i);
        i = run;
    }
}

// Converts the characters of `cp932` from `from` on while they are not ASCII, straight into room
// made beforehand (three bytes of UTF-8 at most per byte); gives where the run ended. A lead byte
// without its trail byte becomes the stand-in, so it cannot swallow what follows.
std::size_t Utf8Writer::AppendConvertedRun(std::string_view cp932, std::size_t from)
{
    const auto* const bytes = reinterpret_cast<const unsigned char*>(cp932.data());
    const std::size_t size = cp932.size();
    const std::size_t at = pending_.size();
    pending_.resize(at + 3 * (size - from));
    char* out = pending_.data() + at;
    std::size_t i = from;
    while (i < size && bytes[i] >= 0x80) {
        const bool lead = kByteClasses[bytes[i]] == kLead;
        const bool pair = lead && i + 1 < size && IsCp932TrailByte(bytes[i + 1]);
        out = transcoder_.Write(pair   ? cp932.substr(i, 2)
                                : lead ? std::string_view(&kStrayLeadStandIn, 1)
                                       : cp932.substr(i, 1),
                                out);
        i += pair ? 2 : 1;
    }
    pending_.resize(static_cast<std::size_t>(out - pending_.data()));
    return i;
}

void Utf8Writer::AppendEscaped(char c, bool lineBreak, Escape escape)
{
    switch (escape) {
    case Escape::None:
        break;
    case Escape::Tsv:
        if (lineBreak) {
            pending_ += "\\n";
            return;
        }
        if (c == '\t' || c == '\\') {
            pending_ += c == '\t' ? "\\t" : "\\\\";
            return;
        }
        break;
    case Escape::Json:
        if (lineBreak) {
            pending_ += "\\n";
            return;
        }
        if (c == '"' || c == '\\') {
            pending_ += '\\';
            break;
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            pending_ += "\\u00";
            pending_ += kHex[(static_cast<unsigned char>(c) >> 4) & 0xF];
            pending_ += kHex[static_cast<unsigned char>(c) & 0xF];
            return;
        }
        break;
    case Escape::Line:
        if (lineBreak) {
            pending_ += " / ";
            return;
        }
        if (c == '\t') {
            pending_ += ' ';
            return;
        }
        break;
    }
    pending_ += c;
}

void Utf8Writer::EndLine(std::string_view lineEnd)
{
    pending_ += lineEnd;
    if (pending_.size() >= kFlushSize) {
        Flush();
    }
}

void Utf8Writer::Flush()
{
    if (pending_.empty()) {
        return;
    }
    out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    pending_.clear();
}

}  // namespace dolvane::cli
