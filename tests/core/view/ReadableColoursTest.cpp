#include "core/view/ReadableColours.h"

#include "core/calendar/CalendarDrawing.h"
#include "core/view/RowColour.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

// Normal text needs 4.5:1 to be read comfortably (WCAG AA).
constexpr double kReadable = 4.5;

TEST(ReadableColours, EveryFixedBackgroundComesWithATextThatStandsOutOnIt)
{
    const struct {
        const char* what;
        ColourPair pair;
    } cases[] = {
        {"overdue row", {kOverdueColour, ReadableTextOn(kOverdueColour)}},
        {"warning row", {kWarningColour, ReadableTextOn(kWarningColour)}},
        {"old completed row", {kOldCompletedColour, ReadableTextOn(kOldCompletedColour)}},
        {"completed row", {kCompletedColour, ReadableTextOn(kCompletedColour)}},
        {"caption bar", kCaptionBarColours},
        {"warning preview", kWarningPreviewColours},
        {"day caption", kDayCaptionColours},
        {"selected calendar cell", {kSelectedCellBackgroundColour, kSelectedCellTextColour}},
        {"selected day list item", {kDayListSelectedBackgroundColour, kDayListSelectedTextColour}},
        {"day list", {kDayListBackgroundColour, kDayListTextColour}},
    };
    for (const auto& c : cases) {
        EXPECT_GE(ContrastRatio(c.pair.text, c.pair.background), kReadable) << c.what;
    }
    EXPECT_EQ(ReadableTextOn(kOverdueColour), kBlack) << "the light row fills keep black text";
    EXPECT_DOUBLE_EQ(ContrastRatio(kBlack, kWhite), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(kCompletedColour, kCompletedColour), 1.0);
}

// The desktop's backgrounds: Fusion's light window, a dark theme's window and button, black.
TEST(ReadableColours, TheBlueAccentGivesWayOnlyWhereItWouldVanish)
{
    const struct {
        std::uint32_t background;
        std::uint32_t expected;
    } cases[] = {
        {0xEFEFEF, kBlue},  {0xFFFFFF, kBlue},  {0x353535, kWhite},
        {0x2A2A2A, kWhite}, {0x000000, kWhite}, {0x808080, kBlack},  // mid grey: blue reaches only 2.2:1, black 5.3:1
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadableAccentOn(kBlue, c.background), c.expected) << std::hex << c.background;
    }
}

}  // namespace
}  // namespace dolvane
