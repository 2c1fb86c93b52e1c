#include "core/text/Cp932Codec.h"

#include "core/text/ByteKind.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

namespace dolvane {
namespace {

// Expects `convert` to throw Cp932Error and returns its offset; npos, which no case expects,
// when nothing is thrown.
template <typename Convert> std::size_t ErrorOffset(Convert convert)
{
    try {
        convert();
    } catch (const Cp932Error& error) {
        return error.Offset();
    }
    return std::string::npos;
}

// Control codes 0x1A, 0x1C and 0x7F map to themselves, not rotated as in IBM's table; the
// symbols in row 0x81 take their Windows readings, not the JIS ones.
TEST(Cp932CodecTest, MapsLikeTheWindowsTableFromUtf16AndUtf8)
{
    const std::u16string text = u"\\~\x1A\x1C\x7F～－―∥￠￡￢あ①ⅰ髙\uE000\uE757";
    const std::string bytes = "\x5C\x7E\x1A\x1C\x7F\x81\x60\x81\x7C\x81\x5C\x81\x61\x81\x91\x81\x92\x81\xCA\x82\xA0"
                              "\x87\x40\xFA\x40\xFB\xFC\xF0\x40\xF9\xFC";
    EXPECT_EQ(DecodeCp932(bytes), text);
    EXPECT_EQ(EncodeCp932(text), bytes);

    const std::string cp932 = "C:\\\xC3\xDE\xB0\xC0\x81\x60\x87\x40\xFB\xFC\r\n";
    EXPECT_EQ(Utf8ToCp932("C:\\ﾃﾞｰﾀ～①髙\r\n"), cp932);
    EXPECT_EQ(Cp932ToUtf8(cp932), "C:\\ﾃﾞｰﾀ～①髙\r\n");
}

// Invalid alone: 0x80, 0xA0, 0xFD-0xFF and every lead byte (truncated).
TEST(Cp932CodecTest, EverySingleByte)
{
    for (int byte = 0; byte < 256; ++byte) {
        const std::string text(1, static_cast<char>(byte));
        if (byte == 0x80 || byte == 0xA0 || byte >= 0xFD || IsCp932LeadByte(static_cast<unsigned char>(byte))) {
            EXPECT_EQ(ErrorOffset([&] { DecodeCp932(text); }), 0u) << byte;
            continue;
        }
        const char16_t expected = byte < 0x80 ? char16_t(byte) : char16_t(0xFF61 + byte - 0xA1);
        EXPECT_EQ(DecodeCp932(text), std::u16string(1, expected)) << byte;
        EXPECT_EQ(EncodeCp932(std::u16string(1, expected)), text) << byte;
    }
}

// Characters with two byte forms (NEC-selected IBM extensions in rows 0xED/0xEE, NEC row 0x87
// and IBM row 0xFA duplicates) encode to one form; the other does not round-trip.
TEST(Cp932CodecTest, EveryDoubleByteSequenceDecodesOrThrowsAndDuplicatesTakeOneForm)
{
    int decoded = 0;
    int notRoundTripping = 0;
    for (int lead = 0x81; lead <= 0xFC; lead = lead == 0x9F ? 0xE0 : lead + 1) {
        for (int trail = 0x40; trail <= 0xFC; trail += trail == 0x7E ? 2 : 1) {
            const std::string bytes = {static_cast<char>(lead), static_cast<char>(trail)};
            std::u16string text;
            try {
                text = DecodeCp932(bytes);
            } catch (const Cp932Error&) {
                continue;  // offsets are checked below
            }
            ++decoded;
            ASSERT_EQ(text.size(), 1u) << std::hex << lead << ' ' << trail;
            const std::string encoded = EncodeCp932(text);
            if (encoded != bytes) {
                ++notRoundTripping;
                EXPECT_EQ(DecodeCp932(encoded), text) << std::hex << lead << ' ' << trail;
            }
        }
    }
    // 9604 of the 11280 pairs decode, 1880 of them the user-defined area 0xF040-0xF9FC.
    EXPECT_EQ(decoded, 9604);
    EXPECT_EQ(notRoundTripping, 398);  // 374 in rows 0xED/0xEE, 9 in 0x87, 15 in 0xFA

    // ≒, ∵, Ⅰ, 纊 (￢ and ⅰ are in the table test above).
    for (const auto& [bytes, preferred] : {std::pair{"\x87\x90", "\x81\xE0"},
                                           {"\xFA\x5B", "\x81\xE6"},
                                           {"\xFA\x4A", "\x87\x54"},
                                           {"\xED\x40", "\xFA\x5C"}}) {
        EXPECT_EQ(EncodeCp932(DecodeCp932(bytes)), preferred) << testing::PrintToString(bytes);
    }
}

// An unassigned pair gives one replacement; a lead byte without a trail keeps what follows.
TEST(Cp932CodecTest, ReportsWhereInvalidInputStartsInEitherDirection)
{
    const std::tuple<std::string, std::size_t, std::u16string> cases[] = {{"\xB1\x85@c", 1, u"ｱ\uFFFDc"},
                                                                          {"ab\x82", 2, u"ab\uFFFD"},
                                                                          {"\x82\x20x", 0, u"\uFFFD x"},
                                                                          {"\x81\x81\x82\x7F", 2, u"＝\uFFFD\x7F"},
                                                                          {"\xFD\xFE\xFF", 0, u"\uFFFD\uFFFD\uFFFD"}};
    for (const auto& [bytes, offset, display] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        EXPECT_EQ(ErrorOffset([&] { DecodeCp932(bytes); }), offset);
        EXPECT_EQ(DecodeCp932ForDisplay(bytes), display);
    }

    // Characters cp932 cannot hold: offsets count UTF-16 units.
    EXPECT_EQ(ErrorOffset([] { EncodeCp932(u"ab\U0001F600"); }), 2u);
    EXPECT_EQ(ErrorOffset([] { EncodeCp932(std::u16string{u'a', char16_t(0xD800), u'b'}); }), 1u);

    // Offsets count the caller's UTF-8 bytes. U+00A5, U+301C, U+2212 and U+2016 are JIS
    // readings that the Windows table maps elsewhere.
    const std::pair<const char*, std::size_t> utf8Cases[] = {
        {"a\u00A5", 1}, {"あい😀", 6},      {"\u301C", 0},    {"1\u22122", 1},     {"ｱ\u2016", 3}, {"\u00A6", 0},
        {"\xFF", 0},    {"ab\xE3\x81", 2}, {"a\xC0\xAF", 1}, {"\xED\xA0\x80", 0}, {"あ\x80", 3}};
    for (const auto& [utf8, offset] : utf8Cases) {
        EXPECT_EQ(ErrorOffset([&] { Utf8ToCp932(utf8); }), offset) << testing::PrintToString(utf8);
    }
}

}  // namespace
}  // namespace dolvane
