#include "core/view/Search.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <map>

namespace dolvane {
namespace {

using test::Sj;

// Converts only what the table knows, per mode; counts the calls.
class TableLibrary final : public ConversionLibrary {
public:
    std::string Convert(std::string_view source, std::string_view mode, std::int32_t, std::uint8_t) override
    {
        ++calls;
        const auto found = table.find({std::string(mode), std::string(source)});
        return found == table.end() ? std::string(source) : found->second;
    }
    std::map<std::pair<std::string, std::string>, std::string> table;
    int calls = 0;
};

TEST(SearchTest, ExactCaseFoldedAndKanaTries)
{
    TableLibrary library;
    library.table[{"KataToHira", Sj("リンゴ")}] = Sj("りんご");
    library.table[{"HiraToHalfKata", Sj("れぽーと")}] = Sj("ﾚﾎﾟｰﾄ");
    // The loader hands over "" when the library gives back nothing: that conversion finds nothing,
    // rather than every row.
    library.table[{"HiraToKata", Sj("検索")}] = "";
    const std::string value = Sj("00050山田@\\@仕事#@#りんごを買う･･ABC と ﾚﾎﾟｰﾄ");
    struct Case {
        std::string search;
        bool caseSensitive;
        bool withLibrary;
        bool found;
    };
    const Case cases[] = {
        {"ABC", true, false, true},
        {"abc", true, false, false},
        {"abc", false, false, true},
        {Sj("ａｂｃ"), false, false, false},
        {Sj("リンゴ"), false, false, false},
        {Sj("リンゴ"), false, true, true},
        {Sj("リンゴ"), true, true, false},
        {Sj("れぽーと"), false, true, true},
        {"", false, true, false},
        {Sj("検索"), false, true, false},
        {"\xA5\xA5"
         "ABC",
         true, false, true},  // a search across a line break
    };
    for (const auto& c : cases) {
        const SearchMatcher matcher(c.search, c.caseSensitive, c.withLibrary ? &library : nullptr);
        EXPECT_EQ(matcher.Matches(value), c.found) << test::Utf8(c.search) << " " << c.caseSensitive;
    }
    EXPECT_TRUE(SearchMatcher("1", true, nullptr).Matches("1000@\\@#@#")) << "digits find the completion flag";
    EXPECT_TRUE(SearchMatcher(Sj("ＡＢＣ"), false, nullptr).Matches(Sj("#@#ａｂｃ"))) << "full-width Latin folds too";
}

TEST(SearchTest, TheLibraryIsAskedSixTimesPerSearchNotPerLine)
{
    TableLibrary library;
    const SearchMatcher matcher(Sj("ないもの"), false, &library);
    for (int line = 0; line < 100; ++line) {
        EXPECT_FALSE(matcher.Matches(Sj("00000@\\@#@#別のこと")));
    }
    EXPECT_EQ(library.calls, 6);
}

// A search text matches whole characters of the stored text only: the second byte of "ア"
// (0x83 0x41) is "A", of "テ" (0x83 0x65) "e", of "ス" (0x83 0x58) "X". Every step agrees: the
// text as entered, each conversion of the library, and the lower-cased try.
TEST(SearchTest, OnlyWholeCharactersMatch)
{
    TableLibrary library;
    library.table[{"", Sj("Ａ")}] = "A";  // the default conversion narrows full-width letters
    library.table[{"", Sj("Ｘ")}] = "X";
    struct Case {
        const char* what;
        std::string search;
        std::string value;
        bool caseSensitive;
        bool found;
    };
    const Case cases[] = {
        {"A in エアコン", "A", Sj("00000@\\@#@#エアコン"), true, false},
        {"E in テスト (folded)", "E", Sj("00000@\\@#@#テスト"), false, false},
        {"e in テスト", "e", Sj("00000@\\@#@#テスト"), true, false},
        {"full-width Ａ via the library", Sj("Ａ"), Sj("00000@\\@#@#アイス"), false, false},
        {"full-width Ａ finds a real A", Sj("Ａ"), Sj("00000@\\@#@#アA"), false, true},
        {"full-width Ｘ via the library in スス", Sj("Ｘ"), Sj("00000@\\@#@#スス"), false, false},
        {"a kana pair found whole", Sj("アコ"), Sj("00000@\\@#@#エアコン"), true, true},
        {"half a kana pair: a lead byte at the end", "\x83", Sj("00000@\\@#@#エアコン"), true, false},
        {"A after the text's double-byte characters", "A", Sj("00000@\\@#@#エアコンA"), true, true},
        {"digits still find the flag", "1", Sj("10000@\\@#@#ア"), true, true},
        // The byte match inside ア is passed over, and the search goes on from the next byte.
        {"AA overlapping a partial candidate", "AA", Sj("00000@\\@#@#アAA"), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SearchMatcher matcher(c.search, c.caseSensitive, &library);
        EXPECT_EQ(matcher.Matches(c.value), c.found);
    }
}

// The trail byte of every character of a double-byte text, searched for on its own, finds
// nothing; the same byte written as a character at that place is found.
TEST(SearchTest, ATrailByteIsFoundAtNoPosition)
{
    const std::string text = Sj("アイウエオテストゼロ");  // trail bytes A C E G I e X g [ 8D
    ASSERT_EQ(text.size(), 20U);
    for (std::size_t at = 1; at < text.size(); at += 2) {
        const std::string trail(1, text[at]);
        SCOPED_TRACE(at);
        for (const bool caseSensitive : {true, false}) {
            EXPECT_FALSE(SearchMatcher(trail, caseSensitive, nullptr).Matches("00000@\\@#@#" + text));
        }
        if (static_cast<unsigned char>(trail[0]) < 0x80) {
            std::string withCharacter = text;
            withCharacter.insert(at - 1, trail);
            EXPECT_TRUE(SearchMatcher(trail, true, nullptr).Matches(withCharacter));
        }
    }
}

}  // namespace
}  // namespace dolvane
