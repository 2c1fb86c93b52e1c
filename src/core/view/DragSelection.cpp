#include "core/view/DragSelection.h"

#include <algorithm>

namespace dolvane {

void SelectRowRange(std::vector<ToDoRecord>& rows, int a, int b)
{
    const int lo = std::min(a, b);
    const int hi = std::max(a, b);
    const int count = static_cast<int>(rows.size());
    for (int i = std::max(lo - 5, 0); i <= std::min(hi + 4, count - 1); ++i) {
        rows[static_cast<std::size_t>(i)].Selected = i >= lo && i <= hi;
    }
}

AutoScrollStep AutoScrollStepFor(int pointerY, int listTop, int listBottom, int windowTop, int windowHeight)
{
    AutoScrollStep step;
    const bool outsideWindow = pointerY <= windowTop + 1 || pointerY >= windowTop + windowHeight;
    if (!outsideWindow) {
        if ((pointerY < listTop && listTop - pointerY < 16) || (pointerY > listBottom && pointerY - listBottom < 16)) {
            step.intervalMs = 100;
        } else if ((pointerY < listTop && listTop - pointerY < 32) ||
                   (pointerY > listBottom && pointerY - listBottom < 32)) {
            step.intervalMs = 30;
        }
    }
    if (pointerY < listTop) {
        step.direction = -1;
    } else if (pointerY > listBottom) {
        step.direction = 1;
    }
    return step;
}

}  // namespace dolvane
