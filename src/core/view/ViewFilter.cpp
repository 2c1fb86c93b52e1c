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

bool RowPassesView(int mainTab, std::string_view categoryTabText, const LineFacts& facts,
                   const std::function<bool(std::string_view value)>& searchMatches)
{
    switch (mainTab) {
    case kTabAll:
        return true;
    case kTabNone:
        return facts.category.empty();
    case kTabSearch:
        return searchMatches && searchMatches(facts.value);
    case kTabOpen:
        return !facts.completed && CategoryPasses(categoryTabText, facts.category);
    case kTabDone:
        return facts.completed && CategoryPasses(categoryTabText, facts.category);
    default:
        return false;
    }
}

}  // namespace dolvane
