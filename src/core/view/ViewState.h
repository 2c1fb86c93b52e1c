#pragma once

#include "core/store/ToDoRecord.h"
#include "core/view/MainTab.h"

#include <string>
#include <vector>

namespace dolvane {

// What the window shows now, for deciding which rows leave the view after applying.
struct ViewState {
    MainTab mainTab = MainTab::All;
    std::string categoryTabText;  // cp932 caption of the selected category tab
    int categoryTabIndex = 0;     // 0 "全て", 1 "なし", 2.. the categories
};

// After the apply command has saved: the rows that no longer belong to the view leave it.
void RemoveRowsLeavingView(std::vector<ToDoRecord>& rows, const ViewState& view);

// Whether a row still belongs to the view after its fields changed.
bool RowStaysInView(const ToDoRecord& row, const ViewState& view);

}  // namespace dolvane
