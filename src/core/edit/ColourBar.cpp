#include "core/edit/ColourBar.h"

namespace dolvane {
namespace {

// How far the fill part keeps from each edge of the bar, in pixels.
constexpr int kFillInset = 5;

}  // namespace

ColourBarSize ColourBarSizeFor(bool open) noexcept
{
    return open ? ColourBarSize{17, 5} : ColourBarSize{3, 1};
}

bool StrictlyInside(int x, int y, int left, int top, int width, int height) noexcept
{
    return left < x && x < left + width && top < y && y < top + height;
}

ColourBarPart ColourBarPartAt(int x, int y, int width, int height) noexcept
{
    const bool inFill = StrictlyInside(x, y, kFillInset, kFillInset, width - 2 * kFillInset, height - 2 * kFillInset);
    return inFill ? ColourBarPart::Fill : ColourBarPart::Frame;
}

}  // namespace dolvane
