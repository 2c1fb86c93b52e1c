#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace dolvane {

// A cp932 text of a record as the screen shows it; CR LF become line feeds, bytes that are not
// valid cp932 show as U+FFFD.
QString FromCp932(std::string_view cp932);

// What the user typed or pasted, as a record holds it: line feeds become CR LF, the JIS readings
// input methods commit become cp932's, control characters other than tab and line breaks are
// left out. Nothing when a character has no cp932 form (an emoji, for instance).
std::optional<std::string> ToCp932(const QString& text);

// Whether a field showing `shown` already shows the record text `cp932`, perhaps in the typed
// readings of the same characters: then the field is left alone, with its cursor.
bool ShowsCp932(const QString& shown, std::string_view cp932);

// The first character of `text` that cannot be stored (one or two UTF-16 units), or empty.
QString UnstorableCharacter(const QString& text);

// Before typed text is used: true when it can be stored, else a message box names the character
// and the caller keeps the text for the user to change.
bool ConfirmStorable(QWidget* owner, const QString& text);

}  // namespace dolvane
