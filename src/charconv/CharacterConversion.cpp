#include "charconv/CharacterConversion.h"

#include "charconv/KanaTables.h"
#include "core/text/ByteKind.h"
#include "core/text/Cp932Codec.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dolvane {
namespace {

// What a mode does at one position of the text: how many characters it takes and what replaces
// them, or no replacement when the character is not the mode's to change.
struct Step {
    std::size_t consumed = 1;
    std::optional<std::u16string> replacement;
};
using Rule = Step (*)(std::u16string_view text, std::size_t position);

Step Replace(char16_t c, std::size_t consumed = 1)
{
    return {consumed, std::u16string(1, c)};
}

Step KatakanaToHiragana(std::u16string_view text, std::size_t position)
{
    const char16_t c = text[position];
    return IsKatakanaWithHiragana(c) ? Replace(static_cast<char16_t>(c - kKatakanaOffset)) : Step{};
}

Step HiraganaToKatakana(std::u16string_view text, std::size_t position)
{
    const char16_t c = text[position];
    return IsHiragana(c) ? Replace(static_cast<char16_t>(c + kKatakanaOffset)) : Step{};
}

// The long mark and the two voicing marks belong with kana text, so they go half-width too.
Step HiraganaToHalfWidth(std::u16string_view text, std::size_t position)
{
    const char16_t c = text[position];
    if (!IsHiragana(c) && c != u'ー' && c != u'゛' && c != u'゜') {
        return {};
    }
    std::u16string half = HalfOfFullWidth(IsHiragana(c) ? static_cast<char16_t>(c + kKatakanaOffset) : c);
    return half.empty() ? Step{} : Step{1, std::move(half)};
}

// Half-width punctuation (｡｢｣､･) is not kana and stays; ｳﾞ has only the katakana ヴ in cp932.
Step HalfWidthToHiragana(std::u16string_view text, std::size_t position)
{
    const JoinedKana joined = JoinHalfWidth(text, position);
    if (IsKatakanaWithHiragana(joined.full)) {
        return Replace(static_cast<char16_t>(joined.full - kKatakanaOffset), joined.consumed);
    }
    if (joined.full == u'ヴ' || joined.full == u'ー' || joined.full == u'゛' || joined.full == u'゜') {
        return Replace(joined.full, joined.consumed);
    }
    return {};
}

// Only letters, digits and kana change width: ￥, ～ and the full-width symbols keep their form,
// and U+00A5 or a lone "~" would not read back as the same character anyway.
Step ToFullWidth(std::u16string_view text, std::size_t position)
{
    const char16_t c = text[position];
    if (IsAsciiLetterOrDigit(c)) {
        return Replace(static_cast<char16_t>(c + kFullWidthAsciiOffset));
    }
    const JoinedKana joined = JoinHalfWidth(text, position);
    return joined.full != 0 ? Replace(joined.full, joined.consumed) : Step{};
}

Step ToHalfWidth(std::u16string_view text, std::size_t position)
{
    const char16_t c = text[position];
    if (IsFullWidthLetterOrDigit(c)) {
        return Replace(static_cast<char16_t>(c - kFullWidthAsciiOffset));
    }
    std::u16string half = HalfOfFullWidth(c);
    return half.empty() ? Step{} : Step{1, std::move(half)};
}

// The empty mode is the width conversion; the flag picks its direction. Null for unknown modes.
Rule RuleFor(std::string_view mode, std::uint8_t flag)
{
    if (mode.empty()) {
        return flag != 0 ? ToFullWidth : ToHalfWidth;
    }
    static constexpr std::pair<std::string_view, Rule> kModes[] = {
        {"KataToHira", KatakanaToHiragana},
        {"HiraToKata", HiraganaToKatakana},
        {"HiraToHalfKata", HiraganaToHalfWidth},
        {"HalfKataToHira", HalfWidthToHiragana},
    };
    for (const auto& [name, rule] : kModes) {
        if (name == mode) {
            return rule;
        }
    }
    return nullptr;
}

// Characters the rule leaves alone keep their original bytes: some cp932 characters have two
// byte forms, and a decode/encode round trip would swap one for the other. Text that is not
// valid cp932 comes back as it is.
std::string Convert(std::string_view source, Rule rule)
{
    try {
        const std::u16string text = DecodeCp932(source);
        // Every cp932 character is one UTF-16 unit, so character i starts at byte starts[i].
        std::vector<std::size_t> starts;
        for (std::size_t byte = 0; byte < source.size();
             byte += IsCp932LeadByte(static_cast<unsigned char>(source[byte])) ? 2 : 1) {
            starts.push_back(byte);
        }
        if (starts.size() != text.size()) {
            return std::string(source);
        }
        starts.push_back(source.size());

        std::string result;
        result.reserve(source.size() * 2);
        for (std::size_t i = 0; i < text.size();) {
            const Step step = rule(text, i);
            if (step.replacement) {
                result += EncodeCp932(*step.replacement);
            } else {
                result.append(source.substr(starts[i], starts[i + step.consumed] - starts[i]));
            }
            i += step.consumed;
        }
        return result;
    } catch (const Cp932Error&) {
        return std::string(source);
    }
}

// One buffer per calling thread, so two threads searching at once never overwrite each other's result.
thread_local std::string resultBuffer;

}  // namespace
}  // namespace dolvane

DOLVANE_CHARCONV_EXPORT const char* _StringConversion(const char* source, const char* mode, std::int32_t /*count*/,
                                                      std::uint8_t flag, const char* empty)
{
    std::string& buffer = dolvane::resultBuffer;
    // Nothing may leave through the C boundary; out of memory gives an empty text.
    try {
        if (source == nullptr || mode == nullptr) {
            buffer.clear();
            return buffer.c_str();
        }
        const dolvane::Rule rule = dolvane::RuleFor(mode, flag);
        buffer = rule != nullptr ? dolvane::Convert(source, rule) : std::string(source);
        if (buffer.empty() && empty != nullptr) {
            buffer = empty;
        }
        return buffer.c_str();
    } catch (...) {
        return "";
    }
}

DOLVANE_CHARCONV_EXPORT void _DeleteBuf()
{
    std::string().swap(dolvane::resultBuffer);
}
