#include "core/view/ViewState.h"

#include "core/text/Cp932Codec.h"

#include <vector>

namespace dolvane {

bool RowStaysInView(const ToDoRecord& row, const ViewState& view)
{
    if (view.mainTab == MainTab::Open && row.Completed) {
        return false;
    }
    if (view.mainTab == MainTab::Done && !row.Completed) {
        return false;
    }
    static const std::string none = Utf8ToCp932("なし");
    if (view.categoryTabText == none) {
        return row.Category.empty();
    }
    if (view.categoryTabIndex >= 2) {
        return row.Category == view.categoryTabText;
    }
    return true;
}

void RemoveRowsLeavingView(std::vector<ToDoRecord>& rows, const ViewState& view)
{
    std::erase_if(rows, [&view](const ToDoRecord& row) { return !RowStaysInView(row, view); });
}

}  // namespace dolvane
