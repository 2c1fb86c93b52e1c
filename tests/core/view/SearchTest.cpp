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

}  // namespace
}  // namespace dolvane
