#include "core/text/ReplaceText.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <string>

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
    const struct {
        std::string task;
        std::string stored;
    } cases[] = {
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
    for (const auto& c : cases) {
        EXPECT_EQ(Store(c.task), c.stored) << Utf8(c.task);
    }
}

TEST(ReplaceTextTest, ReadsDotsBackRespectingDoubleByteCharacters)
{
    const struct {
        std::string stored;
        std::string task;
    } cases[] = {
        {Sj("a･b"), Sj("a･b")},
        {Sj("ぇ･"), Sj("ぇ･")},  // "ぇ" ends in 0xA5: the bytes of "･･" without a line break
        {Sj("ぇ･･x"), Sj("ぇ\r\nx")},
        {Sj("＝＝･･x"), Sj("＝＝\r\nx")},  // the 0x81 before "･" is the trail of "＝"
        {Sj("ｱ･･ｲ"), Sj("ｱ\r\nｲ")},
        {Sj("a･･･b"), Sj("a･\r\nb")},  // the scan from the end takes the last two
        {Sj("･･a･･"), "a"},
        {"\xA5", "\xA5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Load(c.stored), c.task) << Utf8(c.stored);
    }
}

TEST(ReplaceTextTest, StoreAndLoadRoundTrip)
{
    const struct {
        std::string task;
        std::string loaded;  // empty: the task itself
    } cases[] = {
        {Sj("一行目\r\n二行目\r\n\r\n四行目"), ""},
        {Sj("･ぇ･"), ""},
        {Sj("ぇ\r\nぇ･ぇ"), ""},
        {Sj("a･\r\nb"), ""},  // stored as three dots in a row; the last two read back
        // What is lost: typed "･･", a "･" on both sides of a break, breaks at the ends.
        {Sj("a･･b"), "a\r\nb"},
        {Sj("a･\r\n･b"), "a\r\n\r\nb"},
        {"a\r\n", "a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Load(Store(c.task)), c.loaded.empty() ? c.task : c.loaded) << Utf8(c.task);
    }
    EXPECT_EQ(Store(Sj("a･\r\nb")), Sj("a･･･b"));
}

TEST(ReplaceTextTest, RemovesPatternWhenReplacementIsEmpty)
{
    EXPECT_EQ(ReplaceText(Sj("aぇ･･b"), kDots, ""), Sj("aぇb"));
    EXPECT_EQ(ReplaceText(Sj("ぇ･"), kDots, ""), Sj("ぇ･"));
}

}  // namespace
}  // namespace dolvane
