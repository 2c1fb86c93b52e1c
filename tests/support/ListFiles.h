#pragma once

// List files as the program writes them (each line ended by CR LF), and what a test counts in them.
#include <cstddef>
#include <initializer_list>
#include <ranges>
#include <string>
#include <string_view>

namespace dolvane::test {

inline std::string CrLfLines(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (std::string_view line : lines) {
        text.append(line).append("\r\n");
    }
    return text;
}

// How often `part` stands in `text`.
inline std::size_t Occurrences(std::string_view text, std::string_view part)
{
    return static_cast<std::size_t>(std::ranges::distance(std::views::split(text, part)) - 1);
}

}  // namespace dolvane::test
