#pragma once

#include "core/store/ToDoRecord.h"

#include <cstddef>
#include <vector>

namespace dolvane {

// Selection by dragging over the list. From the anchor row `a` to the row under the pointer
// `b`: rows lo..hi are selected; the five rows before lo and the four after hi are cleared, so
// a drag that comes back leaves the rows it passed over deselected. Rows further away keep
// their state.
void SelectRowRange(std::vector<ToDoRecord>& rows, int a, int b);

// What one tick of the auto-scroll timer does while the pointer is dragged outside the list.
struct AutoScrollStep {
    int intervalMs = 1;
    int direction = 0;  // -1 up, +1 down, 0 none
};

// Pixel positions are screen y. The list spans [listTop, listBottom]; the main window starts at
// windowTop and is windowHeight high. Close to the list the scrolling is slow (100 ms within 16
// pixels, 30 ms within 32), further away and outside the window it runs at every tick.
AutoScrollStep AutoScrollStepFor(int pointerY, int listTop, int listBottom, int windowTop, int windowHeight);

}  // namespace dolvane
