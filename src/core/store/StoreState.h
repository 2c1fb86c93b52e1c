#pragma once

#include <string>
#include <vector>

namespace dolvane {

// What the window mirrors into its buttons: unsaved changes enable "適用", undo enables
// "元に戻す".
struct StoreState {
    bool UnsavedChanges = false;
    bool UndoAvailable = false;
    // Rows were re-sorted on the "全て" tab, so saving there would store a new order.
    bool OrderChanged = false;
    // FileLine texts of rows deleted while a filtered tab is shown; a merge save removes them.
    std::vector<std::string> DeletedFileLines;

    friend bool operator==(const StoreState&, const StoreState&) = default;
};

}  // namespace dolvane
