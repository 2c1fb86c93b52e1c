#include "core/text/ReplaceText.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace dolvane {
namespace {

using test::Sj;
using test::Utf8;

const std::string kDots = "\xA5\xA5";  // "･･", a line break inside a list-file line

std::string Store(std::string_view task)
{
    return ReplaceText(task, "\r\n", kDots);
}

std::string Load(std::string_view stored)
{
    return ReplaceText(stored, kDots, "\r\n");
}

TEST(ReplaceTextTest, StoresLineBreaksAsDots)
{
    const std::pair<std::string, std::string> cases[] = {
        {Sj("ぇ\r\nx"), Sj("ぇ･･x")},
        // Bytes <= 0x20 are trimmed from the ends after the replacement, so breaks at the ends
        // are stored as dots; high bytes are not blanks (no signed comparison).
        {" \r\na\r\n ", Sj("･･a･･")},
        {"\t\001a b\x1F ", "a b"},
        {" \t ", ""},
        {" !a\x7F ", "!a\x7F"},
        {Sj(" ｱあ "), Sj("ｱあ")},
        {"a\rb\nc", "a\rb\nc"},  // a lone CR or LF is not a line break
    };
    for (const auto& [task, stored] : cases) {
        EXPECT_EQ(Store(task), stored) << Utf8(task);
    }
}

TEST(ReplaceTextTest, ReadsDotsBackRespectingDoubleByteCharacters)
{
    const std::pair<std::string, std::string> cases[] = {
        {Sj("ぇ･"), Sj("ぇ･")},  // "ぇ" ends in 0xA5: the bytes of "･･" without a line break
        {Sj("ぇ･･x"), Sj("ぇ\r\nx")}, {Sj("＝＝･･x"), Sj("＝＝\r\nx")},  // the 0x81 before "･" is the trail of "＝"
        {Sj("ｱ･･ｲ"), Sj("ｱ\r\nｲ")},   {Sj("a･･･b"), Sj("a･\r\nb")},      // the scan from the end takes the last two
        {Sj("･･a･･"), "a"},           {"\xA5", "\xA5"},
    };
    for (const auto& [stored, task] : cases) {
        EXPECT_EQ(Load(stored), task) << Utf8(stored);
    }
}

}  // namespace
}  // namespace dolvane
