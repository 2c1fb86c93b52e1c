#include "core/store/FileIo.h"
#include "core/store/LineEdit.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace dolvane {
namespace {

// Every line-end style, mixed and at the edges.
const std::pair<std::string, std::vector<std::string>> kLineCases[] = {
    {"", {}},
    {"a", {"a"}},
    {"a\r\n", {"a"}},
    {"\n", {""}},
    {"\r\n\r\n", {"", ""}},
    {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
    {"a\r\r\nb", {"a", "", "b"}},
    {"a\n\rb\r", {"a", "", "b"}},
    {"\x82\xa0\r\n\x83\\\r", {"\x82\xa0", "\x83\\"}},
};

// Each case split whole; a CR-only file of many lines is read in one pass.
TEST(SplitLinesTest, EndsLinesAtCrLfCrOrLf)
{
    for (const auto& [text, expected] : kLineCases) {
        const auto lines = SplitLines(text);
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), expected) << testing::PrintToString(text);
    }
    std::string crOnly;
    for (int i = 0; i < 200000; ++i) {
        crOnly += "line\r";
    }
    EXPECT_EQ(SplitLines(crOnly).size(), 200000U);
}

// One line looked up alone is the line a split gives, to the last one; past it there is none.
TEST(SplitLinesTest, LineAtFindsTheLineASplitGives)
{
    for (const auto& [text, expected] : kLineCases) {
        for (std::size_t index = 0; index <= expected.size(); ++index) {
            const auto line = LineAt(text, index);
            const auto wanted =
                index < expected.size() ? std::optional<std::string_view>(expected[index]) : std::nullopt;
            EXPECT_EQ(line, wanted) << testing::PrintToString(text) << " line " << index;
        }
    }
}

// The new line follows the last line end, whichever it is; only a last line without one gets CR LF.
TEST(SplitLinesTest, AnAppendedLineFollowsTheLastLineAsItEnds)
{
    const struct {
        std::string before;
        std::string after;
        std::size_t lineNumber;
    } cases[] = {
        {"", "new\r\n", 0},       {"a\r\n", "a\r\nnew\r\n", 1},       {"a\n", "a\nnew\r\n", 1},
        {"a\r", "a\rnew\r\n", 1}, {"a\r\nb", "a\r\nb\r\nnew\r\n", 2}, {"a\n\r", "a\n\rnew\r\n", 2},
    };
    for (const auto& [before, after, lineNumber] : cases) {
        const EditedFile edited = WithAppendedLine(before, "new");
        std::string written;
        for (const std::string_view piece : edited.pieces) {
            written += piece;
        }
        EXPECT_EQ(written, after) << testing::PrintToString(before);
        EXPECT_EQ(edited.lineNumber, lineNumber) << testing::PrintToString(before);
    }
}

using LineAndEnd = std::pair<std::string, std::string>;

std::vector<LineAndEnd> WholeLines(std::string_view text)
{
    std::vector<LineAndEnd> lines;
    ForEachLine(text, [&lines](std::string_view line, std::string_view end) { lines.emplace_back(line, end); });
    return lines;
}

// Feeds `text` in pieces of `size` bytes as a buffered reader does: what was not taken comes
// again in front of the next piece, and the rest at the end.
std::vector<LineAndEnd> LinesInPieces(std::string_view text, std::size_t size)
{
    std::vector<LineAndEnd> lines;
    const auto collect = [&lines](std::string_view line, std::string_view end) { lines.emplace_back(line, end); };
    std::string held;
    for (std::size_t at = 0; at < text.size(); at += size) {
        held += text.substr(at, size);
        const std::size_t taken = ForEachFinishedLine(held, false, collect);
        EXPECT_LE(taken, held.size());
        held.erase(0, taken);
    }
    EXPECT_EQ(ForEachFinishedLine(held, true, collect), held.size());
    return lines;
}

// Wherever the pieces end (inside CR LF, after a lone CR, within a double-byte character), the
// lines and their ends are those of the whole text.
TEST(SplitLinesTest, LinesReadInPiecesAreTheLinesOfTheWhole)
{
    const std::string texts[] = {
        "",
        "a",
        "a\r\nbc\r\n",
        "\r\n\r\n\r",
        "a\rb\nc\r\nd",
        "a\r\r\nb\r",
        "a\n\rb\r\r\n\n\rc",
        "\x82\xa0\r\n\x83\\\r\r",
    };
    for (const auto& text : texts) {
        const auto whole = WholeLines(text);
        for (std::size_t size = 1; size <= text.size() + 1; ++size) {
            EXPECT_EQ(LinesInPieces(text, size), whole) << testing::PrintToString(text) << " in pieces of " << size;
        }
    }
}

}  // namespace
}  // namespace dolvane
