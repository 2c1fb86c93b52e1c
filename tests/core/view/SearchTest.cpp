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

// A search text matches whole characters of the stored text only: the second byte of "ア"
// (0x83 0x41) is "A", of "テ" (0x83 0x65) "e", of "ス" (0x83 0x58) "X". Every step agrees: the
// text as entered, each conversion of the library, and the lower-cased try.
TEST(SearchTest, ExactCaseFoldedAndKanaTriesOfWholeCharacters)
{
    TableLibrary library;
    library.table[{"KataToHira", Sj("リンゴ")}] = Sj("りんご");
    library.table[{"HiraToHalfKata", Sj("れぽーと")}] = Sj("ﾚﾎﾟｰﾄ");
    // The loader hands over "" when the library gives back nothing: that conversion finds nothing,
    // rather than every row.
    library.table[{"HiraToKata", Sj("検索")}] = "";
    library.table[{"", Sj("Ａ")}] = "A";  // the default conversion narrows full-width letters
    library.table[{"", Sj("Ｘ")}] = "X";
    const std::string value = Sj("00050山田@\\@仕事#@#りんごを買う･･ABC と ﾚﾎﾟｰﾄ");
    struct Case {
        const char* what;
        std::string search;
        std::string value;
        bool caseSensitive;
        bool withLibrary;
        bool found;
    };
    const Case cases[] = {
        {"exact", "ABC", value, true, false, true},
        {"case-sensitive", "abc", value, true, false, false},
        {"case folded", "abc", value, false, false, true},
        {"full-width is no case", Sj("ａｂｃ"), value, false, false, false},
        {"full-width Latin folds", Sj("ＡＢＣ"), Sj("#@#ａｂｃ"), false, false, true},
        {"kana without the library", Sj("リンゴ"), value, false, false, false},
        {"kana via the library", Sj("リンゴ"), value, false, true, true},
        {"no kana tries when case-sensitive", Sj("リンゴ"), value, true, true, false},
        {"half-width kana via the library", Sj("れぽーと"), value, false, true, true},
        {"an empty search", "", value, false, true, false},
        {"a conversion to nothing", Sj("検索"), value, false, true, false},
        {"across a line break", Sj("･･ABC"), value, true, false, true},
        {"digits find the completion flag", "1", Sj("10000@\\@#@#ア"), true, true, true},
        {"E in テスト (folded)", "E", Sj("00000@\\@#@#テスト"), false, true, false},
        {"full-width Ａ via the library", Sj("Ａ"), Sj("00000@\\@#@#アイス"), false, true, false},
        {"full-width Ａ finds a real A", Sj("Ａ"), Sj("00000@\\@#@#アA"), false, true, true},
        {"full-width Ｘ via the library in スス", Sj("Ｘ"), Sj("00000@\\@#@#スス"), false, true, false},
        {"a kana pair found whole", Sj("アコ"), Sj("00000@\\@#@#エアコン"), true, true, true},
        {"half a kana pair: a lead byte at the end", "\x83", Sj("00000@\\@#@#エアコン"), true, true, false},
        {"A after the text's double-byte characters", "A", Sj("00000@\\@#@#エアコンA"), true, true, true},
        // The byte match inside ア is passed over, and the search goes on from the next byte.
        {"AA overlapping a partial candidate", "AA", Sj("00000@\\@#@#アAA"), true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SearchMatcher matcher(c.search, c.caseSensitive, c.withLibrary ? &library : nullptr);
        EXPECT_EQ(matcher.Matches(c.value), c.found);
    }
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

}  // namespace
}  // namespace dolvane
