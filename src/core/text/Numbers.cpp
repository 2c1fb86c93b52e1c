#include "core/text/Numbers.h"

#include <charconv>
#include <limits>

namespace dolvane {

std::optional<std::int32_t> DigitsValue(std::string_view text) noexcept
{
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseInt32(std::string_view text) noexcept
{
    // Most texts are a few plain digits (a progress, an hour count): read those at once.
    if (const auto digits = DigitsValue(text)) {
        return digits;
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

void AppendNumber(std::string& text, std::int64_t value, int width)
{
    char digits[24];
    char* const end = digits + sizeof digits;
    char* p = end;
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (end - p < width && p != digits) {
        *--p = '0';
    }
    if (value < 0) {
        text += '-';
    }
    text.append(p, end);
}

std::string ZeroPadded(std::int64_t value, int width)
{
    std::string text;
    AppendNumber(text, value, width);
    return text;
}

}  // namespace dolvane
