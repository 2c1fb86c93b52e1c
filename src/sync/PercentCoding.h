#pragma once

#include <string>
#include <string_view>

namespace dolvane {

// `text` with each %XX (hex digits of either case) turned back into its byte; a "%" not followed by
// two hex digits stays as it is. Shared by the hrefs of WebDAV answers and the X-DOLVANE texts.
inline std::string PercentDecoded(std::string_view text)
{
    const auto digit = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                      : -1;
    };
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && digit(text[i + 1]) >= 0 && digit(text[i + 2]) >= 0) {
            bytes += static_cast<char>(digit(text[i + 1]) * 16 + digit(text[i + 2]));
            i += 2;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

}  // namespace dolvane
