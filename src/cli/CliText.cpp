#include "cli/CliText.h"

#include "core/text/ByteKind.h"
#include "core/text/Cp932Codec.h"

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

void Cp932Transcoder::Append(std::string_view cp932, std::string& utf8)
{
    std::size_t i = 0;
    while (i < cp932.size()) {
        // ASCII is the same in both, Microsoft's table keeping 0x5C and 0x7E as they are.
        std::size_t ascii = i;
        while (ascii < cp932.size() && static_cast<unsigned char>(cp932[ascii]) < 0x80) {
            ++ascii;
        }
        utf8.append(cp932.substr(i, ascii - i));
        i = ascii;
        if (i == cp932.size()) {
            break;
        }
        const auto byte = static_cast<unsigned char>(cp932[i]);
        const bool pair =
            IsCp932LeadByte(byte) && i + 1 < cp932.size() && IsCp932TrailByte(static_cast<unsigned char>(cp932[i + 1]));
        const std::string_view character = cp932.substr(i, pair ? 2 : 1);
        std::uint32_t& known =
            pair ? pairs_[(std::size_t{byte} << 8) | static_cast<unsigned char>(cp932[i + 1])] : singles_[byte];
        if (known == 0) {
            const std::string converted = DisplayUtf8(character);
            if (converted.size() > 3) {
                utf8 += converted;  // never for cp932, whose characters all lie in the BMP
                i += character.size();
                continue;
            }
            known = static_cast<std::uint32_t>(converted.size()) << 24;
            for (std::size_t k = 0; k < converted.size(); ++k) {
                known |= static_cast<std::uint32_t>(static_cast<unsigned char>(converted[k])) << (8 * k);
            }
        }
        for (std::uint32_t k = 0; k < (known >> 24); ++k) {
            utf8 += static_cast<char>((known >> (8 * k)) & 0xFF);
        }
        i += character.size();
    }
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

void Utf8Writer::Field(std::string_view cp932, Escape escape)
{
    if (!convert_ && escape == Escape::None) {
        pending_ += cp932;  // cp932 out: the bytes exactly as the file holds them
        return;
    }
    // Runs of ordinary bytes and whole double-byte characters are copied at once; only the
    // single-byte characters an escape cares about and stray lead bytes are handled one by one.
    std::size_t runStart = 0;
    std::size_t i = 0;
    while (i < cp932.size()) {
        const auto byte = static_cast<unsigned char>(cp932[i]);
        if (IsCp932LeadByte(byte)) {
            if (i + 1 < cp932.size() && IsCp932TrailByte(static_cast<unsigned char>(cp932[i + 1]))) {
                i += 2;
                continue;
            }
            pending_ += cp932.substr(runStart, i - runStart);
            pending_ += convert_ ? kStrayLeadStandIn : static_cast<char>(byte);
            runStart = ++i;
            continue;
        }
        if (escape == Escape::None || (byte >= 0x20 && byte != '\\' && byte != '"')) {
            ++i;
            continue;
        }
        pending_ += cp932.substr(runStart, i - runStart);
        const bool lineBreak = byte == '\r' || byte == '\n';
        // CR LF is one line break.
        if (byte == '\r' && i + 1 < cp932.size() && cp932[i + 1] == '\n') {
            ++i;
        }
        AppendEscaped(static_cast<char>(byte), lineBreak, escape);
        runStart = ++i;
    }
    pending_ += cp932.substr(runStart);
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
    if (convert_) {
        utf8_.clear();
        transcoder_.Append(pending_, utf8_);
        out_.write(utf8_.data(), static_cast<std::streamsize>(utf8_.size()));
    } else {
        out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    }
    pending_.clear();
}

}  // namespace dolvane::cli
