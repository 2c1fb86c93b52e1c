#include "support/Sjis.h"

#include "core/text/Cp932Codec.h"

namespace dolvane::test {

std::string Sj(std::string_view utf8)
{
    return Utf8ToCp932(utf8);
}

std::string Utf8(std::string_view cp932)
{
    return Cp932ToUtf8(cp932);
}

}  // namespace dolvane::test
