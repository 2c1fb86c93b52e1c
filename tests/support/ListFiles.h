#pragma once

// List files as the program writes them: each line ended by CR LF.
#include <initializer_list>
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

}  // namespace dolvane::test
