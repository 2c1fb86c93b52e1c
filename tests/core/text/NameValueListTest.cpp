#include "core/text/NameValueList.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace dolvane {
namespace {

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

}  // namespace
}  // namespace dolvane
