#pragma once

#include <array>
#include <string>
#include <string_view>

namespace dolvane {

// A character that input methods and keyboard layouts outside Windows produce in its JIS reading,
// and the reading Microsoft's cp932 table holds for the same glyph.
struct TypedForm {
    char16_t typed;
    char16_t stored;
};

// The one table of such characters: mozc's wave dash for "~", the double vertical line, the minus
// sign, the cent, pound and not signs, the em dash and the broken bar. Each `stored` form is in
// cp932; no `typed` form is.
inline constexpr std::array<TypedForm, 8> kTypedForms{{
    {u'\u301C', u'\uFF5E'},
    {u'\u2016', u'\u2225'},
    {u'\u2212', u'\uFF0D'},
    {u'\u00A2', u'\uFFE0'},
    {u'\u00A3', u'\uFFE1'},
    {u'\u00AC', u'\uFFE2'},
    {u'\u2014', u'\u2015'},
    {u'\u00A6', u'\uFFE4'},
}};

// New text from the keyboard or the command line with the table's forms taken in cp932's reading.
// One UTF-16 unit stays one unit, so positions in the result are positions in the input.
std::u16string WithStoredForms(std::u16string_view typed);

// What typed or pasted text becomes before it is stored: the table's forms, and no control
// characters but tab, CR and LF (a pasted escape or NUL never reaches a to-do).
std::u16string StorableTypedText(std::u16string_view typed);

// UTF-8 new text (a command-line argument) as cp932, with the table's forms taken; throws
// Cp932Error at the UTF-8 byte offset, in the caller's text, of a character cp932 lacks.
std::string TypedUtf8ToCp932(std::string_view utf8);

// The first character of `text` that cp932 cannot hold (one or two UTF-16 units), after the
// table's forms are taken; empty when every character can be stored.
std::u16string FirstUnstorableCharacter(std::u16string_view text);

// The message that names such a character (both UTF-8).
std::string UnstorableCharacterMessage(std::string_view character);

}  // namespace dolvane
