#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace dolvane {

// The kind of a byte inside cp932 text. A position's kind depends on every byte before it, so it
// is always counted from the start of the text: a trail byte can look exactly like a single-byte
// character (0xA5 is both the trail of "ぇ" and the half-width "･").
enum class ByteKind : unsigned char { Single, Lead, Trail };

// Lead bytes of cp932 double-byte characters: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsCp932LeadByte(unsigned char byte) noexcept
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Kind of the byte at `position` (0-based). Any byte that follows a lead byte is its trail,
// whatever its value, and a lead byte at the very end of the text is still a lead byte.
ByteKind ByteKindAt(std::string_view text, std::size_t position);

// Kinds of every byte of the text in one pass.
std::vector<ByteKind> ByteKinds(std::string_view text);

// The first `maxBytes` bytes of `text`, one fewer when they would end in the first half of a
// double-byte character, so a cut text never shows a broken character.
std::string_view WholeCharacters(std::string_view text, std::size_t maxBytes);

// Whether `pattern` occurs in `text` starting and ending on character boundaries: "A" (0x41) is
// not found in "ア" (0x83 0x41), whose second byte it only resembles. An empty pattern is never
// found.
bool ContainsWholeCharacters(std::string_view text, std::string_view pattern);

}  // namespace dolvane
