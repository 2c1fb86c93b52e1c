#pragma once

namespace dolvane {

// The main tabs of the list, numbered in their order on the tab row.
enum class MainTab : int { All = 0, None = 1, Search = 2, Open = 3, Done = 4 };

inline constexpr int kMainTabCount = 5;

// "未完了" and "完了" narrow the list further by category tabs.
constexpr bool HasCategoryTabs(MainTab tab) noexcept
{
    return tab == MainTab::Open || tab == MainTab::Done;
}

}  // namespace dolvane
