#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dolvane {

// Text that the cp932 codec cannot convert: bytes that are not valid cp932 when decoding, or a
// character that cp932 cannot hold when encoding. `Offset` is the position of the offending
// unit in the input (bytes for cp932 and UTF-8, code units for UTF-16).
class Cp932Error final : public std::runtime_error {
public:
    Cp932Error(const std::string& what, std::size_t offset) : std::runtime_error(what), offset_(offset) {}
    std::size_t Offset() const noexcept { return offset_; }

private:
    std::size_t offset_;
};

// The one converter between cp932 (Microsoft's Shift-JIS) and Unicode. It follows Microsoft's
// table: 0x5C is "\", 0x7E is "~", 0x8160 is U+FF5E, and the NEC and IBM extension rows decode.
// Some characters have two byte forms (NEC-selected IBM rows 0xED/0xEE and a few NEC row 13
// duplicates); encoding picks Microsoft's preferred form, so never decode and re-encode text
// nobody changed.
//
// Conversions throw Cp932Error instead of substituting anything silently.
std::u16string DecodeCp932(std::string_view bytes);
std::string EncodeCp932(std::u16string_view input);
std::string Cp932ToUtf8(std::string_view bytes);
std::string Utf8ToCp932(std::string_view utf8);

// For showing text that may hold invalid bytes (a hand-edited file): each invalid byte becomes
// U+FFFD. Only for display; never write the result back.
std::u16string DecodeCp932ForDisplay(std::string_view bytes);
// The same as UTF-8, for a message that quotes such text.
std::string Cp932ToUtf8ForDisplay(std::string_view bytes);

// UTF-8 and UTF-16 without cp932 in between: invalid UTF-8 throws Cp932Error at its byte offset;
// a lone surrogate becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace dolvane
