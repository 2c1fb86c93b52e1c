#pragma once

#include <string>
#include <string_view>

namespace dolvane::test {

// cp932 bytes of a UTF-8 literal, so tests can be written with readable Japanese text.
std::string Sj(std::string_view utf8);

// Readable form of cp932 bytes for failure messages.
std::string Utf8(std::string_view cp932);

}  // namespace dolvane::test
