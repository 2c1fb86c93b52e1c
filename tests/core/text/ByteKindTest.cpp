#include "core/text/ByteKind.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;

// Kinds written as one letter a byte: S single, L lead, T trail.
std::vector<ByteKind> Kinds(std::string_view letters)
{
    std::vector<ByteKind> kinds;
    for (char letter : letters) {
        kinds.push_back(letter == 'L' ? ByteKind::Lead : letter == 'T' ? ByteKind::Trail : ByteKind::Single);
    }
    return kinds;
}

TEST(ByteKindTest, KindsAreCountedFromTheStart)
{
    const struct {
        std::string text;
        const char* kinds;
    } cases[] = {
        {"\x80\xA0\xFD\xFF", "SSSS"},
        {Sj("ぇ･"), "LTS"},  // "ぇ" is 0x82 0xA5: its trail looks like the "･" after it
        // Whether a 0x81 is lead or trail depends on how many precede it ("＝" is 0x81 0x81).
        {Sj("＝＝･"), "LTLTS"},
        {Sj("a＝ｱ＝"), "SLTSLT"},
        // Whatever follows a lead byte is its trail, even a control byte.
        {"\x82\r\n", "LTS"},
        {"ab\x82", "SSL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        const auto expected = Kinds(c.kinds);
        EXPECT_EQ(ByteKinds(c.text), expected);
        for (std::size_t i = 0; i < c.text.size(); ++i) {
            EXPECT_EQ(ByteKindAt(c.text, i), expected[i]) << "at " << i;
        }
    }
}

}  // namespace
}  // namespace dolvane
