#pragma once

// Character rules of the conversion library, on UTF-16 units. Every character these give back
// has a cp932 form: the tables stop where cp932 stops (it has no ゔ, no ヷ-ヺ and no half-width
// forms of ゎ, ゐ, ゑ, ヵ or ヶ).

#include <cstddef>
#include <string>
#include <string_view>

namespace dolvane {

// Katakana sit 0x60 above their hiragana, the iteration marks ゝゞ/ヽヾ included.
constexpr char16_t kKatakanaOffset = 0x60;
// Full-width ASCII sits 0xFEE0 above ASCII.
constexpr char16_t kFullWidthAsciiOffset = 0xFEE0;
constexpr char16_t kHalfWidthVoicedMark = u'\uFF9E';      // ﾞ
constexpr char16_t kHalfWidthSemiVoicedMark = u'\uFF9F';  // ﾟ

// ぁ-ん and ゝゞ: the hiragana cp932 holds.
constexpr bool IsHiragana(char16_t c) noexcept
{
    return (c >= u'ぁ' && c <= u'ん') || c == u'ゝ' || c == u'ゞ';
}

// ァ-ン and ヽヾ: the katakana whose hiragana cp932 holds (so not ヴ, ヵ, ヶ).
constexpr bool IsKatakanaWithHiragana(char16_t c) noexcept
{
    return (c >= u'ァ' && c <= u'ン') || c == u'ヽ' || c == u'ヾ';
}

constexpr bool IsAsciiLetterOrDigit(char16_t c) noexcept
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

constexpr bool IsFullWidthLetterOrDigit(char16_t c) noexcept
{
    return (c >= u'０' && c <= u'９') || (c >= u'Ａ' && c <= u'Ｚ') || (c >= u'ａ' && c <= u'ｚ');
}

// The full-width form of U+FF61 + index, for the whole half-width katakana block ｡ to ﾟ.
inline constexpr std::u16string_view kFullOfHalfWidth =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソ"
    u"タチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
constexpr char16_t kFirstHalfWidthKana = u'\uFF61';

// Kana whose voiced form is the next character; the semi-voiced ones also have one two above.
constexpr bool IsVoiceableBase(char16_t c) noexcept
{
    return std::u16string_view(u"カキクケコサシスセソタチツテトハヒフヘホ").find(c) != std::u16string_view::npos;
}

constexpr bool IsSemiVoiceableBase(char16_t c) noexcept
{
    return std::u16string_view(u"ハヒフヘホ").find(c) != std::u16string_view::npos;
}

// The full-width form of one half-width katakana, or 0 for any other character.
constexpr char16_t FullOfHalfWidth(char16_t c) noexcept
{
    const auto index = static_cast<std::size_t>(c - kFirstHalfWidthKana);
    return c >= kFirstHalfWidthKana && index < kFullOfHalfWidth.size() ? kFullOfHalfWidth[index] : char16_t{0};
}

struct JoinedKana {
    char16_t full = 0;  // 0: text[position] is not half-width katakana
    std::size_t consumed = 1;
};

// The full-width character for the half-width katakana at `position`, taking a following ﾞ or ﾟ
// along when the two make one character (ｶﾞ -> ガ, ﾊﾟ -> パ, ｳﾞ -> ヴ). A mark that fits nothing
// stays a character of its own.
constexpr JoinedKana JoinHalfWidth(std::u16string_view text, std::size_t position) noexcept
{
    const char16_t base = FullOfHalfWidth(text[position]);
    if (base == 0 || position + 1 >= text.size()) {
        return {base, 1};
    }
    const char16_t mark = text[position + 1];
    if (mark == kHalfWidthVoicedMark && base == u'ウ') {
        return {u'ヴ', 2};
    }
    if (mark == kHalfWidthVoicedMark && IsVoiceableBase(base)) {
        return {static_cast<char16_t>(base + 1), 2};
    }
    if (mark == kHalfWidthSemiVoicedMark && IsSemiVoiceableBase(base)) {
        return {static_cast<char16_t>(base + 2), 2};
    }
    return {base, 1};
}

// The half-width form of one full-width katakana or kana mark: one character, or two for a
// voiced or semi-voiced kana (ガ -> ｶﾞ). Empty when there is none (ヵ, ヶ, ヮ, ヰ, ヱ, hiragana).
inline std::u16string HalfOfFullWidth(char16_t c)
{
    const auto halfOf = [](char16_t full) {
        const std::size_t index = kFullOfHalfWidth.find(full);
        return index == std::u16string_view::npos ? char16_t{0} : static_cast<char16_t>(kFirstHalfWidthKana + index);
    };
    if (const char16_t half = halfOf(c); half != 0) {
        return {half};
    }
    if (c == u'ヴ') {
        return {halfOf(u'ウ'), kHalfWidthVoicedMark};
    }
    if (IsVoiceableBase(static_cast<char16_t>(c - 1))) {
        return {halfOf(static_cast<char16_t>(c - 1)), kHalfWidthVoicedMark};
    }
    if (IsSemiVoiceableBase(static_cast<char16_t>(c - 2))) {
        return {halfOf(static_cast<char16_t>(c - 2)), kHalfWidthSemiVoicedMark};
    }
    return {};
}

}  // namespace dolvane
