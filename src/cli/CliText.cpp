#include "cli/CliText.h"

#include "core/text/ByteKind.h"
#include "core/text/Cp932Codec.h"
#include "core/text/TypedText.h"

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
        return TypedUtf8ToCp932(utf8);
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

Utf8Writer::Utf8Writer(std::ostream& out, bool convert) : out_(out), convert_(convert), buffer_(kFlushSize + 4096, '\0')
{
}

void Utf8Writer::Grow(std::size_t size)
{
    buffer_.resize(std::max(buffer_.size() * 2, used_ + size));
}

Utf8Writer::~Utf8Writer()
{
    try {
        Flush();
    } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor must not throw; Flush was the caller's to call
    }
}

namespace {

// What Field does with a byte: copy it in a run with its neighbours, escape it (a control
// character, a backslash or a double quote when escaping), convert the run of non-ASCII bytes it
// starts (UTF-8 out), or copy the character a lead byte starts (cp932 out).
enum ByteAction : unsigned char { kCopy, kEscape, kConvert, kLead };
using ByteActions = std::array<unsigned char, 256>;

constexpr ByteActions MakeActions(bool escaping, bool converting)
{
    ByteActions actions{};
    for (int byte = 0; byte < 256; ++byte) {
        const auto value = static_cast<unsigned char>(byte);
        if (escaping && (value < 0x20 || value == '\\' || value == '"')) {
            actions[value] = kEscape;
        } else if (value >= 0x80 && converting) {
            actions[value] = kConvert;
        } else if (IsCp932LeadByte(value)) {
            actions[value] = kLead;
        } else {
            actions[value] = kCopy;
        }
    }
    return actions;
}

// By [escaping][converting].
constexpr ByteActions kActions[2][2] = {
    {MakeActions(false, false), MakeActions(false, true)},
    {MakeActions(true, false), MakeActions(true, true)},
};

}  // namespace

void Utf8Writer::Field(std::string_view cp932, Escape escape)
{
    if (!convert_ && escape == Escape::None) {
        Put(cp932);  // cp932 out: the bytes exactly as the file holds them
        return;
    }
    // One pass: runs of ordinary single bytes are copied at once, double-byte characters are
    // copied (cp932 out) or converted (UTF-8 out) whole, and only the single-byte characters an
    // escape cares about and stray lead bytes are handled one by one.
    const ByteActions& actions = kActions[escape == Escape::None ? 0 : 1][convert_ ? 1 : 0];
    const auto* const bytes = reinterpret_cast<const unsigned char*>(cp932.data());
    const std::size_t size = cp932.size();
    std::size_t i = 0;
    while (i < size) {
        const unsigned char byte = bytes[i];
        switch (actions[byte]) {
        case kEscape: {
            const bool lineBreak = byte == '\r' || byte == '\n';
            // CR LF is one line break.
            if (byte == '\r' && i + 1 < size && bytes[i + 1] == '\n') {
                ++i;
            }
            AppendEscaped(static_cast<char>(byte), lineBreak, escape);
            ++i;
            break;
        }
        case kConvert:
            i = AppendConvertedRun(cp932, i);
            break;
        case kLead: {
            const bool pair = i + 1 < size && IsCp932TrailByte(bytes[i + 1]);
            Put(cp932.substr(i, pair ? 2 : 1));
            i += pair ? 2 : 1;
            break;
        }
        default: {
            std::size_t run = i + 1;
            while (run < size && actions[bytes[run]] == kCopy) {
                ++run;
            }
            Put(cp932.substr(i, run - i));
            i = run;
            break;
        }
        }
    }
}

// Converts the characters of `cp932` from `from` on while they are not ASCII, straight into room
// made beforehand (three bytes of UTF-8 at most per byte); gives where the run ended. A lead byte
// without its trail byte becomes the stand-in, so it cannot swallow what follows.
std::size_t Utf8Writer::AppendConvertedRun(std::string_view cp932, std::size_t from)
{
    const auto* const bytes = reinterpret_cast<const unsigned char*>(cp932.data());
    const std::size_t size = cp932.size();
    char* const start = Room(3 * (size - from));
    char* out = start;
    std::size_t i = from;
    while (i < size && bytes[i] >= 0x80) {
        const bool lead = IsCp932LeadByte(bytes[i]);
        const bool pair = lead && i + 1 < size && IsCp932TrailByte(bytes[i + 1]);
        out = transcoder_.Write(pair   ? cp932.substr(i, 2)
                                : lead ? std::string_view(&kStrayLeadStandIn, 1)
                                       : cp932.substr(i, 1),
                                out);
        i += pair ? 2 : 1;
    }
    used_ += static_cast<std::size_t>(out - start);
    return i;
}

void Utf8Writer::AppendEscaped(char c, bool lineBreak, Escape escape)
{
    switch (escape) {
    case Escape::None:
        break;
    case Escape::Tsv:
        if (lineBreak) {
            Put("\\n");
            return;
        }
        if (c == '\t' || c == '\\') {
            Put(c == '\t' ? "\\t" : "\\\\");
            return;
        }
        break;
    case Escape::Json:
        if (lineBreak) {
            Put("\\n");
            return;
        }
        if (c == '"' || c == '\\') {
            Ascii('\\');
            break;
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            Put("\\u00");
            Ascii(kHex[(static_cast<unsigned char>(c) >> 4) & 0xF]);
            Ascii(kHex[static_cast<unsigned char>(c) & 0xF]);
            return;
        }
        break;
    case Escape::Line:
        if (lineBreak) {
            Put(" / ");
            return;
        }
        if (c == '\t') {
            Ascii(' ');
            return;
        }
        break;
    }
    Ascii(c);
}

void Utf8Writer::EndLine(std::string_view lineEnd)
{
    Put(lineEnd);
    if (used_ >= kFlushSize) {
        Flush();
    }
}

void Utf8Writer::Flush()
{
    if (used_ == 0) {
        return;
    }
    out_.write(buffer_.data(), static_cast<std::streamsize>(used_));
    used_ = 0;
}

}  // namespace dolvane::cli
