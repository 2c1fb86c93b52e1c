#include "charconv/CharacterConversion.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace dolvane {
namespace {

using test::Sj;
using test::Utf8;

std::string Convert(const std::string& source, const char* mode, std::uint8_t flag = 1)
{
    std::string result = _StringConversion(source.c_str(), mode, -1, flag, "");
    _DeleteBuf();
    return result;
}

// Texts in UTF-8; both sides go through cp932, so every expected output is known to be encodable.
TEST(CharacterConversionTest, ConvertsEachModeAndKeepsWhatItDoesNotCover)
{
    const struct {
        const char* mode;
        std::uint8_t flag;
        const char* source;
        const char* expected;
    } cases[] = {
        // ヴ ヵ ヶ have no hiragana in cp932; ・ is not kana.
        {"KataToHira", 1, "カタカナ・ヴァヵヶヽ", "かたかな・ヴぁヵヶゝ"},
        {"HiraToKata", 0, "かたかなゝゐゎ", "カタカナヽヰヮ"},
        {"HiraToHalfKata", 1, "ひらがなぱーゐ、", "ﾋﾗｶﾞﾅﾊﾟｰゐ、"},
        // A mark that fits no kana stays a mark; half-width punctuation is not kana.
        {"HalfKataToHira", 1, "ｶﾞｷﾞﾊﾟﾎﾞｰﾙｳﾞｧﾏﾟﾞｱ｢｣", "がぎぱぼーるヴぁま゜゛あ｢｣"},
        {"", 1, "ABC123ｱｲﾃﾞｰﾀ｡ﾊﾟｳﾞ", "ＡＢＣ１２３アイデータ。パヴ"},
        {"", 0, "ＡＢＣ１２３アイガパヴヵ「ー」", "ABC123ｱｲｶﾞﾊﾟｳﾞヵ｢ｰ｣"},
        // ￥ and ～ must not become U+00A5 or "~", and the ASCII "\" and "~" stay themselves.
        {"", 0, "\\~￥～漢字 a-b", "\\~￥～漢字 a-b"},
        {"", 1, "\\~￥～漢字 -", "\\~￥～漢字 -"},
        {"KataToHira", 1, "漢字 ABC \\~", "漢字 ABC \\~"},
        // "ソ" and "表" end in the byte 0x5C, "ぇ" in 0xA5 (the half-width "･").
        {"HalfKataToHira", 1, "ソ表ぇｱ", "ソ表ぇあ"},
        {"", 1, "ぇ･", "ぇ・"},
        {"NoSuchMode", 1, "カタカナ", "カタカナ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + std::to_string(c.flag) + " " + c.source);
        EXPECT_EQ(Utf8(Convert(Sj(c.source), c.mode, c.flag)), c.expected);
    }
}

// A folding search finds a voiced kana in either width only if each one survives the round trip.
TEST(CharacterConversionTest, EveryVoicedKanaSurvivesTheHalfWidthRoundTrip)
{
    const std::string hiragana = Sj("がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ");
    const std::string half = Convert(hiragana, "HiraToHalfKata");
    // Each one a half-width kana and a mark: 50 single bytes of 0xA1-0xDF.
    EXPECT_EQ(std::count_if(half.begin(), half.end(),
                            [](char byte) { return (byte & 0xFF) >= 0xA1 && (byte & 0xFF) <= 0xDF; }),
              50);
    EXPECT_EQ(Convert(half, "HalfKataToHira"), hiragana);
    const std::string katakana = Sj("ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ");
    EXPECT_EQ(Convert(Convert(katakana, "", 0), "", 1), katakana);
}

TEST(CharacterConversionTest, KeepsTheBytesItDoesNotChange)
{
    // 0xED40 is an NEC-selected IBM character: a decode/encode round trip would give 0xFA5C.
    EXPECT_EQ(Convert("\xED\x40" + Sj("カ"), "KataToHira"), "\xED\x40" + Sj("か"));
    // Not cp932: a lead byte at the end, and row 0x85, which has no characters.
    for (const std::string& invalid : {Sj("カ") + "\x82", Sj("ｶﾞ") + "\x85\x40"}) {
        EXPECT_EQ(Convert(invalid, "HalfKataToHira"), invalid);
    }
}

TEST(CharacterConversionTest, HandlesMissingArgumentsAndReleasedBuffers)
{
    EXPECT_STREQ(_StringConversion(nullptr, "KataToHira", 0, 1, ""), "");
    EXPECT_STREQ(_StringConversion("a", nullptr, 0, 1, ""), "");
    EXPECT_STREQ(_StringConversion("", "KataToHira", 0, 1, "-"), "-");
    _DeleteBuf();
    _DeleteBuf();
    EXPECT_EQ(Convert(Sj("カ"), "KataToHira"), Sj("か"));
    EXPECT_EQ(Convert(Sj("ｱ"), "HalfKataToHira"), Sj("あ"));
}

}  // namespace
}  // namespace dolvane
