#include "core/text/Numbers.h"

#include <charconv>

namespace dolvane {

std::optional<std::int32_t> ParseInt32(std::string_view text) noexcept
{
    // Most texts are a few plain digits (a progress, an hour count): read those at once.
    if (!text.empty() && text.size() <= 9) {
        std::int64_t value = 0;  // wide enough for nine bytes of anything, digits or not
        bool digits = true;
        for (const char c : text) {
            digits = digits && c >= '0' && c <= '9';
            value = value * 10 + (c - '0');
        }
        if (digits) {
            return static_cast<std::int32_t>(value);
        }
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
