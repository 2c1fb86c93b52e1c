#include "core/store/IniFile.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>

namespace dolvane {
namespace {

using test::Sj;

TEST(IniFileTest, FindsValuesTheWayWindowsDoes)
{
    const IniFile file("Value=outside\r\n[Tabalm]\r\n; Value=commented\r\n  vALUE =  2 \r\nValue=second\r\n"
                       "[quoted]\na=\"x y\"\nb='z'\nc=\"unmatched\nd=\n[tabalm]\rother=hidden\r[ spaced ]\nk=v\n" +
                       Sj("[ゾ]\nk=zo\n[ア]\nk=a\n[open\nk=open"));
    // In order: ASCII case folds, blanks are trimmed and the first entry wins; a repeated section
    // is never searched; one pair of enclosing quotes goes; present but empty is not absent; the
    // search ends at the next section; "ゾ" is 0x83 0x5D, its trail byte "]"; "ヂ" (0x83 0x61)
    // must not match "ア" (0x83 0x41) by folding; without "]" the section name runs to the line
    // end; lines before the first section belong to none. "-" stands for absent.
    const std::pair<std::string, std::string> lookups[] = {
        {"tabalm", "value"}, {"TABALM", "other"}, {"quoted", "a"}, {"quoted", "b"}, {"quoted", "c"},
        {"quoted", "d"},     {"quoted", "Value"}, {"spaced", "k"}, {Sj("ゾ"), "k"}, {Sj("ア"), "k"},
        {"\x83\x61", "k"},   {"open", "k"},       {"", "Value"}};
    std::string found;
    for (const auto& [section, key] : lookups) {
        found += file.Value(section, key).value_or("-") + "|";
    }
    EXPECT_EQ(found, "2|-|x y|z|\"unmatched||-|v|zo|a|-|open|-|");
}

TEST(IniFileTest, SetValueChangesOnlyWhatItMust)
{
    const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
        // In place, keeping the file's spelling of the key and its blanks before "=".
        {"[a]\r\n ValUE = 1 ; x\r\n[b]\r\nValue=1\r\n", "A", "value", "[a]\r\n ValUE =9\r\n[b]\r\nValue=1\r\n"},
        // After the section's last entry, not after the blank line and comment that lead to [b].
        {"[a]\r\nx=1\r\n\r\n; b\r\n[b]\r\n", "a", "y", "[a]\r\nx=1\r\ny=9\r\n\r\n; b\r\n[b]\r\n"},
        {"[a]\r\n[b]\r\n", "a", "y", "[a]\r\ny=9\r\n[b]\r\n"},
        // A new section at the end; every line ends in CR LF afterwards.
        {"", "new", "k", "[new]\r\nk=9\r\n"},
        {"; only\nx=1\r[a]", "new", "k", "; only\r\nx=1\r\n[a]\r\n[new]\r\nk=9\r\n"},
    };
    for (const auto& [before, section, key, after] : cases) {
        IniFile file(before);
        file.SetValue(section, key, "9");
        EXPECT_EQ(file.Text(), after) << before;
        EXPECT_EQ(file.Value(section, key), "9") << before;
    }
}

}  // namespace
}  // namespace dolvane
