#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dolvane {

// ASCII digits and nothing else (no sign, no blanks; leading zeros are fine) as their value;
// nothing for an empty text or one above the 32-bit range.
std::optional<std::int32_t> DigitsValue(std::string_view text) noexcept;

// A whole decimal number with an optional sign, nothing else (no blanks), within 32 bits.
std::optional<std::int32_t> ParseInt32(std::string_view text) noexcept;

// The number in decimal, zero-filled to at least `width` digits after any minus sign.
std::string ZeroPadded(std::int64_t value, int width);

// Appends the number as ZeroPadded would, without a temporary string.
void AppendNumber(std::string& text, std::int64_t value, int width = 1);

}  // namespace dolvane
