#include "core/text/NameValueList.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include <optional>
#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;

TEST(NameValueListTest, LooksUpTheFirstEntryWithTheName)
{
    const NameValueList list({"a=1", "a=3", "flag", "d=x=y", "=e", "ab=4", "f="});
    const struct {
        std::string name;
        std::optional<std::size_t> index;
        std::string value;
    } cases[] = {
        {"a", 0, "1"},    // the later "a=3" is hidden
        {"flag", 2, ""},  // no "=": all name, empty value
        {"d", 3, "x=y"},  // the name ends at the first "="
        {"d=x", std::nullopt, ""},
        {"", 4, "e"},
        {"ab", 5, "4"},  // not a prefix match of "a"
        {"f", 6, ""},
        {"A", std::nullopt, ""},  // names are case-sensitive
    };
    for (const auto& c : cases) {
        EXPECT_EQ(list.IndexOfName(c.name), c.index) << c.name;
        EXPECT_EQ(list.Value(c.name), c.value) << c.name;
    }
}

// Text order as unsigned bytes, not name order: "=" sorts between "0" and "b", every byte
// >= 0x80 after ASCII, and □ (0x81 0xA0) before ■ (0x81 0xA1) before ｱ (0xB1).
TEST(NameValueListTest, SortsByBytesAsUnsigned)
{
    NameValueList list({Sj("■=b"), Sj("ｱ=k"), Sj("あ=h"), Sj("□=w"), "a=2", "ab=3", "a0=4", "A=5", "05=6"});
    list.Sort();
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"05=6", "A=5", "a0=4", "a=2", "ab=3", Sj("□=w"), Sj("■=b"),
                                                        Sj("あ=h"), Sj("ｱ=k")}));
}

// Indexes built from a list trust its revision: every change gives a stamp no other content has,
// and equal contents compare equal whatever their stamps.
TEST(NameValueListTest, RevisionChangesWithEveryChangeAndNeverRepeats)
{
    NameValueList list;
    std::vector<std::uint64_t> seen = {list.Revision()};
    list.Add("b=1");
    seen.push_back(list.Revision());
    list.Add("a", "2");
    seen.push_back(list.Revision());
    list.Sort();
    seen.push_back(list.Revision());
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"a=2", "b=1"}));
    const NameValueList copy = list;
    EXPECT_EQ(copy.Revision(), list.Revision()) << "a copy holds the same content";
    list.Clear();
    seen.push_back(list.Revision());
    seen.push_back(NameValueList({"b=1"}).Revision());
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
    EXPECT_EQ(NameValueList({"b=1"}), NameValueList({"b=1"}));
}

}  // namespace
}  // namespace dolvane
