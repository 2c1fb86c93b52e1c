#include "core/text/TypedText.h"

#include "core/text/Cp932Codec.h"

#include <gtest/gtest.h>

#include <string>

namespace dolvane {
namespace {

// Each typed form is one cp932 cannot hold; its stored form is stored as Microsoft's bytes and
// reads back as that stored form, so a round trip through the file keeps it.
TEST(TypedTextTest, EveryTypedFormIsStoredInCp932sReadingBothWays)
{
    const std::string bytes[] = {"\x81\x60", "\x81\x61", "\x81\x7C", "\x81\x91",
                                 "\x81\x92", "\x81\xCA", "\x81\x5C", "\xFA\x55"};
    ASSERT_EQ(std::size(bytes), kTypedForms.size());
    for (std::size_t i = 0; i < kTypedForms.size(); ++i) {
        const TypedForm form = kTypedForms[i];
        SCOPED_TRACE(static_cast<int>(form.typed));
        const std::u16string typed(1, form.typed);
        const std::u16string stored(1, form.stored);
        EXPECT_THROW(EncodeCp932(typed), Cp932Error) << "without the table the character is lost";
        EXPECT_EQ(WithStoredForms(u"a" + typed + u"b"), u"a" + stored + u"b");
        EXPECT_EQ(WithStoredForms(stored), stored) << "a stored form stays as it is";
        EXPECT_EQ(DecodeCp932(bytes[i]), stored);
        EXPECT_EQ(TypedUtf8ToCp932(Utf16ToUtf8(typed)), bytes[i]);
        EXPECT_TRUE(FirstUnstorableCharacter(typed).empty());
    }
}

// Pasted text loses the control characters a to-do cannot show; tab and both line-break bytes stay.
TEST(TypedTextTest, StorableTypedTextDropsControlsButTabAndLineBreaks)
{
    using namespace std::string_literals;
    EXPECT_EQ(StorableTypedText(u"a\x01\tb\r\n\x1B[0m\x7F\0c\u301C"s), u"a\tb\r\n[0mc\uFF5E");
}

TEST(TypedTextTest, FirstUnstorableCharacterIsWholeAndNamedInTheMessage)
{
    struct Case {
        std::u16string text;
        std::u16string found;
    };
    const Case cases[] = {
        {u"から〜😀を😀", u"😀"},     // a surrogate pair, the first of two
        {u"髙\u3402", u"\u3402"},  // IBM's 髙 is stored; U+3402 is in no cp932 row
        {u"〜−—", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FirstUnstorableCharacter(c.text), c.found);
    }
    EXPECT_EQ(UnstorableCharacterMessage("😀"), "「😀」はこの一覧に保存できない文字です");
}

// The offset of an unstorable argument counts the caller's UTF-8 bytes: "¢" is two bytes there,
// although its stored form takes three.
TEST(TypedTextTest, TypedUtf8ReportsOffsetsInTheCallersBytes)
{
    try {
        TypedUtf8ToCp932("¢😀");
        FAIL() << "no error";
    } catch (const Cp932Error& error) {
        EXPECT_EQ(error.Offset(), 2U);
    }
}

}  // namespace
}  // namespace dolvane
