#pragma once

#include "core/text/Cp932Codec.h"

namespace dolvane::test {

// cp932 bytes of a UTF-8 literal, so tests can be written with readable Japanese text: the
// program's own conversion, by a short name.
inline constexpr auto Sj = &Utf8ToCp932;

// Readable form of cp932 bytes for failure messages.
inline constexpr auto Utf8 = &Cp932ToUtf8;

}  // namespace dolvane::test
