#include "core/edit/ColourBar.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

TEST(ColourBarTest, PointsOnTheBorderAreOutside)
{
    // A frame at (10, 20), 209 by 44: its last pixels inside are x 218 and y 63.
    struct Case {
        int x;
        int y;
        bool inside;
    };
    for (const Case& c : {Case{11, 21, true},
                          {218, 63, true},
                          {10, 40, false},
                          {219, 40, false},
                          {100, 20, false},
                          {100, 64, false},
                          {0, 0, false}}) {
        EXPECT_EQ(StrictlyInside(c.x, c.y, 10, 20, 209, 44), c.inside) << c.x << ',' << c.y;
    }
}

TEST(ColourBarTest, OnlyTheOpenBarHasAFillPart)
{
    const ColourBarSize rest = ColourBarSizeFor(false);
    const ColourBarSize open = ColourBarSizeFor(true);
    EXPECT_EQ(rest, (ColourBarSize{3, 1}));
    EXPECT_EQ(open, (ColourBarSize{17, 5}));

    struct Case {
        int x;
        int y;
        int height;
        ColourBarPart part;
    };
    const int w = kColourBarWidth;
    for (const Case& c : {Case{6, 6, open.height, ColourBarPart::Fill},
                          {w - 6, open.height - 6, open.height, ColourBarPart::Fill},
                          {5, 8, open.height, ColourBarPart::Frame},
                          {w - 5, 8, open.height, ColourBarPart::Frame},
                          {94, 5, open.height, ColourBarPart::Frame},
                          {94, open.height - 5, open.height, ColourBarPart::Frame},
                          {94, 1, rest.height, ColourBarPart::Frame}}) {
        EXPECT_EQ(ColourBarPartAt(c.x, c.y, w, c.height), c.part) << c.x << ',' << c.y << " of height " << c.height;
    }
}

}  // namespace
}  // namespace dolvane
