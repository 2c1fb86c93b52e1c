#include "core/text/NameValueList.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;

TEST(NameValueListTest, LooksUpTheFirstEntryWithTheName)
{
    const NameValueList list({"a=1", "b=2", "a=3", "flag", "d=x=y", "=e", "ab=4", "f=", Sj("祝日=元日")});
    const struct {
        std::string name;
        std::optional<std::size_t> index;
        std::string value;
    } cases[] = {
        {"a", 0, "1"},  // the later "a=3" is hidden
        {"b", 1, "2"},
        {"flag", 3, ""},  // no "=": all name, empty value
        {"d", 4, "x=y"},  // the name ends at the first "="
        {"d=x", std::nullopt, ""},
        {"", 5, "e"},
        {"ab", 6, "4"},  // not a prefix match of "a"
        {"f", 7, ""},
        {Sj("祝日"), 8, Sj("元日")},
        {"missing", std::nullopt, ""},
        {"A", std::nullopt, ""},  // names are case-sensitive
    };
    for (const auto& c : cases) {
        EXPECT_EQ(list.IndexOfName(c.name), c.index) << c.name;
        EXPECT_EQ(list.Value(c.name), c.value) << c.name;
    }
}

TEST(NameValueListTest, AddJoinsNameAndValueAndDoesNotOverrideEarlierEntries)
{
    NameValueList list;
    list.Add("05", "x=1");
    list.Add("05=other");
    list.Add("", "");
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"05=x=1", "05=other", "="}));
    EXPECT_EQ(list.Value("05"), "x=1");
    EXPECT_EQ(list.IndexOfName(""), 2u);
}

TEST(NameValueListTest, SortsByBytesAsUnsigned)
{
    NameValueList list({
        Sj("■=b"),  // 0x81 0xA1
        Sj("ｱ=k"),  // 0xB1
        "b=1",
        Sj("あ=h"),  // 0x82 0xA0
        "2010/05/01=",
        Sj("□=w"),  // 0x81 0xA0
        "a=2",
        "ab=3",
        "a0=4",
        "A=5",
        "05=6",
    });
    list.Sort();
    // Text order, not name order: "=" (0x3D) sorts after "0" and before "b"; every byte
    // >= 0x80 sorts after ASCII, and □ before ■ as in their codes.
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"05=6", "2010/05/01=", "A=5", "a0=4", "a=2", "ab=3", "b=1",
                                                        Sj("□=w"), Sj("■=b"), Sj("あ=h"), Sj("ｱ=k")}));
}

}  // namespace
}  // namespace dolvane
