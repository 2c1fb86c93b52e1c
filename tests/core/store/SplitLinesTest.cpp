#include "core/store/FileIo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dolvane {
namespace {

// Every line-end style, mixed and at the edges; a CR-only file of many lines is read in one pass.
TEST(SplitLinesTest, EndsLinesAtCrLfCrOrLf)
{
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb\r", {"a", "", "b"}},
        {"a\r", {"a"}},
        {"a\rb\rc\r\nd\ne", {"a", "b", "c", "d", "e"}},
        {"\x82\xa0\r\n\x83\\\r", {"\x82\xa0", "\x83\\"}},
    };
    for (const auto& [text, expected] : cases) {
        const auto lines = SplitLines(text);
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), expected) << testing::PrintToString(text);
    }
    std::string crOnly;
    for (int i = 0; i < 200000; ++i) {
        crOnly += "line\r";
    }
    EXPECT_EQ(SplitLines(crOnly).size(), 200000U);
}

}  // namespace
}  // namespace dolvane
