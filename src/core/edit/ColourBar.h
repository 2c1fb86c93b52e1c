#pragma once

namespace dolvane {

// The bar of the settings dialog that shows the calendar's two bar colours. At rest it is a thin
// line; while the pointer rests over its frame it opens up so that both colours can be seen and
// clicked apart. All sizes are pixels.
inline constexpr int kColourBarWidth = 189;

struct ColourBarSize {
    int height = 0;
    int outline = 0;  // pen width; the fill shows inside it

    friend bool operator==(const ColourBarSize&, const ColourBarSize&) = default;
};

// 17 high with a 5-pixel outline when open, else 3 high with a 1-pixel outline.
ColourBarSize ColourBarSizeFor(bool open) noexcept;

// Whether (x, y) lies strictly inside the rectangle at (left, top): a point on its border is
// outside, so the bar only opens once the pointer is within the frame.
bool StrictlyInside(int x, int y, int left, int top, int width, int height) noexcept;

enum class ColourBarPart { Frame, Fill };

// Which of the two colours a point of the bar (its own coordinates) stands for: the fill within
// 5 pixels of every edge, the frame elsewhere. A bar at rest is too thin to have a fill part.
ColourBarPart ColourBarPartAt(int x, int y, int width, int height) noexcept;

}  // namespace dolvane
