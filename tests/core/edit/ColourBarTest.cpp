#include "core/edit/ColourBar.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

// Points on the fill part's border belong to the frame.
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
