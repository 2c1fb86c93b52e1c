#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace dolvane {
namespace {

// Plain digits take a short way; everything else goes the long way, and both must agree on what
// is a number: a sign only in front, nothing around the digits, nothing past 32 bits.
TEST(ParseInt32Test, ReadsWholeDecimalNumbersOnly)
{
    const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
        {"007", 7},
        {"2147483647", 2'147'483'647},
        {"2147483648", std::nullopt},
        {"-5", -5},
        {"-2147483648", -2'147'483'647 - 1},
        {"+5", 5},
        {"+-5", std::nullopt},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"5x", std::nullopt},
        {"x5", std::nullopt},
        {" 5", std::nullopt},
        {"\x82\x54", std::nullopt},  // a full-width digit
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseInt32(text), expected) << testing::PrintToString(text);
    }
}

}  // namespace
}  // namespace dolvane
