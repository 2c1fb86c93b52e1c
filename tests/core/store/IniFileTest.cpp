#include "core/store/IniFile.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace dolvane {
namespace {

using test::Sj;

TEST(IniFileTest, FindsValuesTheWayWindowsDoes)
{
    const IniFile file("Value=outside\r\n[Tabalm]\r\n; Value=commented\r\n  vALUE =  2 \r\nValue=second\r\n"
                       "[quoted]\na=\"x y\"\nb='z'\nc=\"unmatched\nd=\n[tabalm]\rother=hidden\r[ spaced ]\nk=v\n" +
                       Sj("[ゾ]\nk=zo\n[ア]\nk=a\n[open\nk=open"));
    const struct {
        std::string section;
        std::string key;
        std::optional<std::string> value;
    } cases[] = {
        {"tabalm", "value", "2"},           // ASCII case folds, blanks trimmed, first entry wins
        {"TABALM", "other", std::nullopt},  // a repeated section is never searched
        {"quoted", "a", "x y"},             // one pair of enclosing quotes goes
        {"quoted", "b", "z"},
        {"quoted", "c", "\"unmatched"},
        {"quoted", "d", ""},                // present but empty is not absent
        {"quoted", "Value", std::nullopt},  // the search ends at the next section
        {"spaced", "k", "v"},
        {Sj("ゾ"), "k", "zo"},  // 0x83 0x5D: its trail byte is "]"
        {Sj("ア"), "k", "a"},
        {"\x83\x61", "k", std::nullopt},  // "ヂ" must not match "ア" (0x83 0x41) by folding
        {"open", "k", "open"},            // no "]": the section name runs to the line end
        {"", "Value", std::nullopt},      // lines before the first section belong to none
    };
    for (const auto& c : cases) {
        EXPECT_EQ(file.Value(c.section, c.key), c.value) << test::Utf8(c.section) << "/" << c.key;
    }
}

TEST(IniFileTest, SetValueChangesOnlyWhatItMust)
{
    const struct {
        std::string before;
        std::string section;
        std::string key;
        std::string after;
    } cases[] = {
        // In place, keeping the file's spelling of the key and its blanks before "=".
        {"[a]\r\n ValUE = 1 ; x\r\n[b]\r\nValue=1\r\n", "A", "value", "[a]\r\n ValUE =9\r\n[b]\r\nValue=1\r\n"},
        // After the section's last entry, not after the blank line and comment that lead to [b].
        {"[a]\r\nx=1\r\n\r\n; b\r\n[b]\r\n", "a", "y", "[a]\r\nx=1\r\ny=9\r\n\r\n; b\r\n[b]\r\n"},
        {"[a]\r\n[b]\r\n", "a", "y", "[a]\r\ny=9\r\n[b]\r\n"},
        // A new section at the end; every line ends in CR LF afterwards.
        {"", "new", "k", "[new]\r\nk=9\r\n"},
        {"; only\nx=1\r[a]", "new", "k", "; only\r\nx=1\r\n[a]\r\n[new]\r\nk=9\r\n"},
    };
    for (const auto& c : cases) {
        IniFile file(c.before);
        file.SetValue(c.section, c.key, "9");
        EXPECT_EQ(file.Text(), c.after) << c.before;
        EXPECT_EQ(file.Value(c.section, c.key), "9") << c.before;
    }
}

}  // namespace
}  // namespace dolvane
