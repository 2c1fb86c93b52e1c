#include "core/sync/LineMatch.h"

#include <gtest/gtest.h>

#include <map>

namespace dolvane {
namespace {

// Lines are named by letters; each stands for a to-do line whose start, task and progress the
// case gives, so that edits can keep or change what a to-do is known by.
struct Line {
    const char* start;
    const char* task;
    int progress = 0;
};

std::string Text(const Line& line)
{
    std::string progress = std::to_string(line.progress);
    progress.insert(0, 3 - progress.size(), '0');
    return std::string(line.start) + "+=00" + progress + "@\\@#@#" + line.task;
}

// "2 0 -": the base index of each line now, "-" for a new one.
std::string Matched(const std::vector<std::optional<std::size_t>>& match)
{
    std::string text;
    for (const auto& index : match) {
        text += (text.empty() ? "" : " ") + (index ? std::to_string(*index) : std::string("-"));
    }
    return text;
}

TEST(LineMatchTest, PairsEachLineWithItsEarlierSelf)
{
    const std::map<char, Line> lines = {
        {'a', {"2024/01/01 09:00", "a"}},     {'b', {"2024/01/02 09:00", "b"}},
        {'c', {"2024/01/03 09:00", "c"}},     {'d', {"2024/01/04 09:00", "d"}},
        {'e', {"2024/01/05 09:00", "e"}},     {'B', {"2024/02/02 10:00", "b"}},  // b with another start
        {'T', {"2024/01/02 09:00", "b2"}},                                       // b with another task
        {'P', {"2024/01/02 09:00", "b", 50}},                                    // b with another progress
        {'x', {"2024/03/01 09:00", "x"}},     {'y', {"2024/03/02 09:00", "y"}},
        {'z', {"2024/03/03 09:00", "z"}},     {'X', {"2024/04/01 09:00", "X"}},
        {'Y', {"2024/04/02 09:00", "Y"}},     {'Z', {"2024/04/03 09:00", "Z"}},
        {'D', {"2024/01/03 09:00", "c", 30}},  // c with another progress
        {'n', {"2024/05/01 09:00", "new"}},
    };
    const struct {
        const char* base;
        const char* now;
        const char* expected;
        const char* what;
    } cases[] = {
        {"abcd", "cadb", "2 0 3 1", "a sort that reorders every line"},
        {"abc", "aBc", "0 1 2", "an edited start keeps its place"},
        {"abc", "aTc", "0 1 2", "an edited task keeps its place"},
        {"axyze", "aXYZe", "0 1 2 3 4", "a replaced run of three pairs in order"},
        {"ddbd", "bddd", "2 0 1 3", "duplicates pair in order"},
        {"dd", "d", "0", "one of two duplicates deleted"},
        {"ab", "nab", "- 0 1", "inserted at the top"},
        {"ab", "abn", "0 1 -", "inserted at the bottom"},
        {"abc", "ac", "0 2", "deleted here"},
        {"abcd", "aBd", "0 1 3", "one deleted, one edited: the edited pairs by its task"},
        {"abcd", "aDd", "0 2 3", "one deleted, one edited: the edited pairs by its start"},
        {"abc", "cPa", "2 1 0", "sorted and edited: paired by start and task"},
        {"", "ab", "- -", "nothing synced yet"},
        {"ab", "", "", "everything deleted"},
    };
    const auto linesOf = [&lines](const char* names) {
        std::vector<std::string> texts;
        for (const char* name = names; *name != '\0'; ++name) {
            texts.push_back(Text(lines.at(*name)));
        }
        return texts;
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Matched(MatchLines(linesOf(c.base), linesOf(c.now))), c.expected)
            << c.what << ": " << c.base << " -> " << c.now;
    }
}

}  // namespace
}  // namespace dolvane
