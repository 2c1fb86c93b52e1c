#pragma once

#include <string>
#include <string_view>

namespace dolvane {

// Replaces every occurrence of the two-byte pattern `from` by `to` (which may be empty), scanning
// from the end of the text towards its start, and only where the byte at the match has the same
// cp932 kind as the first byte of `from`; then trims bytes <= 0x20 from both ends.
//
// This is the line-break translation of the list file (CR LF <-> "･･"). Scanning from the end
// makes "･" typed just before a line break come back intact: "･" CR LF is stored as "･･･" and
// only the last two dots turn back into the break. The kind test keeps "･･" from matching the
// trail byte of a double-byte character (0x82 0xA5 is "ぇ").
std::string ReplaceText(std::string_view text, std::string_view from, std::string_view to);

// Removes leading and trailing bytes <= 0x20 (blanks and control characters).
std::string_view TrimControlAndBlanks(std::string_view text);

}  // namespace dolvane
