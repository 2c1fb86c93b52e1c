#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace dolvane {

// A cp932 text of a record as the screen shows it; CR LF become line feeds, bytes that are not
// valid cp932 show as U+FFFD.
QString FromCp932(std::string_view cp932);

// What the user typed, as a record holds it (line feeds become CR LF); nothing when a character
// has no cp932 form (an emoji, for instance).
std::optional<std::string> ToCp932(const QString& text);

}  // namespace dolvane
