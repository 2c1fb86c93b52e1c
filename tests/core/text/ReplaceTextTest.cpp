#include "core/text/ReplaceText.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <string>

namespace dolvane {
namespace {

using test::Sj;
using test::Utf8;

const std::string kBreak = "\r\n";
const std::string kDots = "\xA5\xA5";  // "･･", a line break inside a list-file line

std::string Store(std::string_view task)
{
    return ReplaceText(task, kBreak, kDots);
}

std::string Load(std::string_view stored)
{
    return ReplaceText(stored, kDots, kBreak);
}

TEST(ReplaceTextTest, StoresLineBreaksAsDots)
{
    const struct {
        std::string task;
        std::string stored;
    } cases[] = {
        {"a\r\nb", Sj("a･･b")},
        {Sj("報告書を書く\r\n提出する"), Sj("報告書を書く･･提出する")},
        {"a\r\n\r\nb\r\nc", Sj("a････b･･c")},
        {Sj("ぇ\r\nx"), Sj("ぇ･･x")},
        // Bytes <= 0x20 are trimmed from the ends after the replacement, so breaks at the ends
        // are stored as dots; high bytes are not blanks (no signed comparison).
        {" \r\na\r\n ", Sj("･･a･･")},
        {"\t\001a b\x1F ", "a b"},
        {" \t ", ""},
        {" !a\x7F ", "!a\x7F"},
        {Sj(" ｱあ "), Sj("ｱあ")},
        // A lone CR or LF is not a line break.
        {"a\rb\nc", "a\rb\nc"},
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
        {Sj("a･･b"), "a\r\nb"},
        {Sj("a･b"), Sj("a･b")},
        // "ぇ" ends in 0xA5, so "ぇ･" holds the bytes of "･･" without being a line break.
        {Sj("ぇ･"), Sj("ぇ･")},
        {Sj("xぇ･y"), Sj("xぇ･y")},
        {Sj("ぇ･･x"), Sj("ぇ\r\nx")},
        // Lead and trail are told apart from the start: the 0x81 before "･" is the trail of "＝".
        {Sj("＝＝･･x"), Sj("＝＝\r\nx")},
        {Sj("ｱ･･ｲ"), Sj("ｱ\r\nｲ")},
        // Three dots: the scan from the end takes the last two.
        {Sj("a･･･b"), Sj("a･\r\nb")},
        {Sj("a････b"), "a\r\n\r\nb"},
        {Sj("･･a･･"), "a"},
        {"\xA5", "\xA5"},
        {"", ""},
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
        {"a\r\nb", ""},
        {Sj("一行目\r\n二行目\r\n\r\n四行目"), ""},
        {Sj("･ぇ･"), ""},
        {Sj("ぇ\r\nぇ･ぇ"), ""},
        {Sj("ｿﾌﾄ･ｳｪｱ\r\nｳｪｲ"), ""},
        // "･" right before a break is stored as three dots in a row; the last two read back.
        {Sj("a･\r\nb"), ""},
        // What is lost: typed "･･", a "･" on both sides of a break, breaks and blanks at the ends.
        {Sj("a･･b"), "a\r\nb"},
        {Sj("a･\r\n･b"), "a\r\n\r\nb"},
        {"a\r\n", "a"},
        {Sj(" a\r\nb\t"), "a\r\nb"},
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
