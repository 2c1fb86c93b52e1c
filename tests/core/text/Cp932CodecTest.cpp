#include "core/text/Cp932Codec.h"

#include "core/text/ByteKind.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace dolvane {
namespace {

std::string Bytes(int first, int second)
{
    return {static_cast<char>(first), static_cast<char>(second)};
}

// Expects `convert` to throw Cp932Error and returns its offset.
template <typename Convert> std::size_t ErrorOffset(Convert convert)
{
    try {
        convert();
    } catch (const Cp932Error& error) {
        return error.Offset();
    }
    ADD_FAILURE() << "no Cp932Error";
    return std::string::npos;
}

// Includes the control codes 0x1A, 0x1C and 0x7F, which are themselves in Microsoft's table but
// rotated in ICU's (IBM's) one.
TEST(Cp932CodecTest, MapsLikeMicrosoftsTable)
{
    const struct {
        char16_t unit;
        std::string bytes;
    } cases[] = {
        {u'\\', "\x5C"},         {u'~', "\x7E"},          {u'\x1A', "\x1A"},
        {u'\x1C', "\x1C"},       {u'\x7F', "\x7F"},       {u'\0', std::string(1, '\0')},
        {u'～', "\x81\x60"},     {u'－', "\x81\x7C"},     {u'―', "\x81\x5C"},
        {u'∥', "\x81\x61"},      {u'￠', "\x81\x91"},     {u'￡', "\x81\x92"},
        {u'￢', "\x81\xCA"},     {u'あ', "\x82\xA0"},     {u'｡', "\xA1"},
        {u'･', "\xA5"},          {u'ｱ', "\xB1"},          {u'ﾟ', "\xDF"},
        {u'①', "\x87\x40"},      {u'㈱', "\x87\x8A"},     {u'≒', "\x81\xE0"},
        {u'ⅰ', "\xFA\x40"},      {u'髙', "\xFB\xFC"},     {u'黑', "\xFC\x4B"},
        {u'\uE000', "\xF0\x40"}, {u'\uE757', "\xF9\xFC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(DecodeCp932(c.bytes), std::u16string(1, c.unit));
        EXPECT_EQ(EncodeCp932(std::u16string(1, c.unit)), c.bytes);
    }
}

TEST(Cp932CodecTest, ConvertsBetweenUtf8AndCp932)
{
    const std::string utf8 = "C:\\ﾃﾞｰﾀ～①髙\r\n";
    const std::string cp932 = "C:\\\xC3\xDE\xB0\xC0\x81\x60\x87\x40\xFB\xFC\r\n";
    EXPECT_EQ(Utf8ToCp932(utf8), cp932);
    EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
    EXPECT_EQ(Utf8ToCp932(""), "");
    EXPECT_EQ(DecodeCp932(""), u"");
}

// Invalid alone: 0x80, 0xA0, 0xFD-0xFF and every lead byte (truncated).
TEST(Cp932CodecTest, EverySingleByte)
{
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        const std::string text(1, static_cast<char>(byte));
        const bool invalid =
            byte == 0x80 || byte == 0xA0 || byte >= 0xFD || IsCp932LeadByte(static_cast<unsigned char>(byte));
        if (invalid) {
            EXPECT_EQ(ErrorOffset([&] { DecodeCp932(text); }), 0u);
            continue;
        }
        const char16_t expected = byte < 0x80 ? char16_t(byte) : char16_t(0xFF61 + byte - 0xA1);
        EXPECT_EQ(DecodeCp932(text), std::u16string(1, expected));
        EXPECT_EQ(EncodeCp932(std::u16string(1, expected)), text);
    }
}

// Some characters have two byte forms: the IBM extensions also sit, as NEC selected them, in
// rows 0xED/0xEE; a few NEC row 0x87 symbols duplicate row 0x81 ones and IBM row 0xFA ones
// duplicate row 0x81 and 0x87 ones. Encoding picks one form; the other does not round-trip.
TEST(Cp932CodecTest, EveryDoubleByteSequenceDecodesOrThrows)
{
    int decoded = 0;
    int notRoundTripping = 0;
    std::set<int> rowsNotRoundTripping;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsCp932LeadByte(static_cast<unsigned char>(lead))) {
            continue;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const std::string bytes = Bytes(lead, trail);
            std::u16string text;
            try {
                text = DecodeCp932(bytes);
            } catch (const Cp932Error& error) {
                EXPECT_EQ(error.Offset(), 0u) << std::hex << lead << ' ' << trail;
                continue;
            }
            ++decoded;
            ASSERT_EQ(text.size(), 1u) << std::hex << lead << ' ' << trail;
            const std::string encoded = EncodeCp932(text);
            if (encoded != bytes) {
                ++notRoundTripping;
                rowsNotRoundTripping.insert(lead);
                ASSERT_EQ(encoded.size(), 2u);
                EXPECT_EQ(DecodeCp932(encoded), text) << std::hex << lead << ' ' << trail;
            }
        }
    }
    // Measured with ICU 72's windows-31j; glibc's CP932 gives the same figures. 9604 of the 11280
    // pairs decode, 1880 of them the user-defined area 0xF040-0xF9FC.
    EXPECT_EQ(decoded, 9604);
    EXPECT_EQ(notRoundTripping, 398);  // 374 in rows 0xED/0xEE, 9 in 0x87, 15 in 0xFA
    EXPECT_EQ(rowsNotRoundTripping, (std::set<int>{0x87, 0xED, 0xEE, 0xFA}));
}

TEST(Cp932CodecTest, EncodesDuplicatesInThePreferredForm)
{
    const struct {
        std::string bytes;
        std::string preferred;
    } cases[] = {
        // ≒, ∵ twice, ￢ twice, Ⅰ, ㈱, ⅰ, 纊
        {"\x87\x90", "\x81\xE0"}, {"\x87\x9A", "\x81\xE6"}, {"\xFA\x5B", "\x81\xE6"},
        {"\xEE\xF9", "\x81\xCA"}, {"\xFA\x54", "\x81\xCA"}, {"\xFA\x4A", "\x87\x54"},
        {"\xFA\x58", "\x87\x8A"}, {"\xEE\xEF", "\xFA\x40"}, {"\xED\x40", "\xFA\x5C"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeCp932(DecodeCp932(c.bytes)), c.preferred) << testing::PrintToString(c.bytes);
    }
}

TEST(Cp932CodecTest, ReportsWhereInvalidBytesStart)
{
    const struct {
        std::string bytes;
        std::size_t offset;
        std::u16string display;
    } cases[] = {
        {"ab\x85@c", 2, u"ab\uFFFDc"},  // unassigned pair: one replacement
        {"\x82\xA0\xEB\x40", 2, u"あ\uFFFD"},
        {"ab\x82", 2, u"ab\uFFFD"},     // lone lead byte at the end
        {"\x82\x20x", 0, u"\uFFFD x"},  // a lead byte without a trail keeps what follows
        {"\x81\x81\x82\x7F", 2, u"＝\uFFFD\x7F"},
        {"a\x80z", 1, u"a\uFFFDz"},
        {"a\xA0", 1, u"a\uFFFD"},
        {"\xFD\xFE\xFF", 0, u"\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_EQ(ErrorOffset([&] { DecodeCp932(c.bytes); }), c.offset);
        EXPECT_EQ(ErrorOffset([&] { Cp932ToUtf8(c.bytes); }), c.offset);
        EXPECT_EQ(DecodeCp932ForDisplay(c.bytes), c.display);
    }
    EXPECT_EQ(DecodeCp932ForDisplay("a\x82\xA0\xB1"), u"aあｱ");
}

TEST(Cp932CodecTest, ReportsCharactersCp932CannotHold)
{
    // Offsets count UTF-16 units.
    EXPECT_EQ(ErrorOffset([] { EncodeCp932(u"ab\U0001F600"); }), 2u);
    EXPECT_EQ(ErrorOffset([] { EncodeCp932(u"あ\u00A5"); }), 1u);
    EXPECT_EQ(ErrorOffset([] { EncodeCp932(u"\U0001F600\u00A5"); }), 0u);
    EXPECT_EQ(ErrorOffset([] { EncodeCp932(std::u16string{u'a', char16_t(0xD800), u'b'}); }), 1u);

    // Offsets count the caller's UTF-8 bytes. U+00A5, U+301C, U+2212 and U+2016 are JIS
    // readings that Microsoft's table maps elsewhere.
    const struct {
        std::string utf8;
        std::size_t offset;
    } cases[] = {
        {"a\u00A5", 1}, {"あい😀", 6}, {"\u301C", 0}, {"1\u22122", 1}, {"ｱ\u2016", 3}, {"\u00A6", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOffset([&] { Utf8ToCp932(c.utf8); }), c.offset) << c.utf8;
    }
}

TEST(Cp932CodecTest, RejectsInvalidUtf8)
{
    const struct {
        std::string utf8;
        std::size_t offset;
    } cases[] = {
        {"\xFF", 0}, {"ab\xE3\x81", 2}, {"a\xC0\xAF", 1}, {"\xED\xA0\x80", 0}, {"あ\x80", 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOffset([&] { Utf8ToCp932(c.utf8); }), c.offset) << testing::PrintToString(c.utf8);
    }
}

}  // namespace
}  // namespace dolvane
