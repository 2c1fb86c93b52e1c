#include "core/view/ViewFilter.h"

#include "core/text/Cp932Codec.h"

#include <string>

namespace dolvane {

bool CategoryPasses(std::string_view filter, std::string_view category)
{
    static const std::string all = Utf8ToCp932("全て");
    static const std::string none = Utf8ToCp932("なし");
    if (filter == all) {
        return true;
    }
    if (filter == none) {
        return category.empty();
    }
    return category == filter;
}

bool RowPassesView(MainTab mainTab, std::string_view categoryTabText, const LineFacts& facts,
                   const std::function<bool(std::string_view value)>& searchMatches)
{
    switch (mainTab) {
    case MainTab::All:
        return true;
    case MainTab::None:
        return facts.category.empty();
    case MainTab::Search:
        return searchMatches && searchMatches(facts.value);
    case MainTab::Open:
        return !facts.completed && CategoryPasses(categoryTabText, facts.category);
    case MainTab::Done:
        return facts.completed && CategoryPasses(categoryTabText, facts.category);
    }
    return false;
}

}  // namespace dolvane
