#include "core/text/TypedText.h"

#include "core/text/Cp932Codec.h"

#include <unicode/utf16.h>

#include <algorithm>

namespace dolvane {
namespace {

char16_t StoredForm(char16_t c) noexcept
{
    const auto* form =
        std::find_if(kTypedForms.begin(), kTypedForms.end(), [c](const TypedForm& entry) { return entry.typed == c; });
    return form == kTypedForms.end() ? c : form->stored;
}

bool IsHeldControl(char16_t c) noexcept
{
    return (c < 0x20 || c == 0x7F) && c != u'\t' && c != u'\r' && c != u'\n';
}

}  // namespace

std::u16string WithStoredForms(std::u16string_view typed)
{
    std::u16string result(typed);
    std::transform(result.begin(), result.end(), result.begin(), StoredForm);
    return result;
}

std::u16string StorableTypedText(std::u16string_view typed)
{
    std::u16string result = WithStoredForms(typed);
    std::erase_if(result, IsHeldControl);
    return result;
}

std::string TypedUtf8ToCp932(std::string_view utf8)
{
    // Through UTF-16 so the codec reports the offset of the caller's own text: the table keeps
    // one unit for one unit, but not one UTF-8 length for another (U+00A2 is two bytes, U+FFE0 three).
    const std::u16string typed = Utf8ToUtf16(utf8);
    try {
        return EncodeCp932(WithStoredForms(typed));
    } catch (const Cp932Error& error) {
        throw Cp932Error(error.what(), Utf16ToUtf8(std::u16string_view(typed).substr(0, error.Offset())).size());
    }
}

std::u16string FirstUnstorableCharacter(std::u16string_view text)
{
    try {
        EncodeCp932(WithStoredForms(text));
        return {};
    } catch (const Cp932Error& error) {
        const std::size_t at = error.Offset();
        const bool pair = at + 1 < text.size() && U16_IS_LEAD(text[at]) && U16_IS_TRAIL(text[at + 1]);
        return std::u16string(text.substr(at, pair ? 2 : 1));
    }
}

std::string UnstorableCharacterMessage(std::string_view character)
{
    return "「" + std::string(character) + "」はこの一覧に保存できない文字です";
}

}  // namespace dolvane
