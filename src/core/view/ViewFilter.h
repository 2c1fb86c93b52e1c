#pragma once

#include "core/store/RecordLine.h"
#include "core/view/MainTab.h"

#include <functional>
#include <string_view>

namespace dolvane {

// The category filter of a category tab: "全て" passes every to-do, "なし" those without a
// category, any other text the to-dos of exactly that category (byte for byte). A category
// literally named "全て" or "なし" cannot be told from these words.
bool CategoryPasses(std::string_view filter, std::string_view category);

// Whether a list-file line belongs to the view of main tab `mainTab` with the category filter
// `categoryTabText`; on the search tab `searchMatches` decides on the line's value part.
bool RowPassesView(MainTab mainTab, std::string_view categoryTabText, const LineFacts& facts,
                   const std::function<bool(std::string_view value)>& searchMatches);

}  // namespace dolvane
