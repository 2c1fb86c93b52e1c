#include "core/app/ViewTabs.h"

#include "core/text/Cp932Codec.h"
#include "core/view/Search.h"
#include "core/view/ViewFilter.h"

#include <algorithm>

namespace dolvane {
namespace {

constexpr std::string_view kQuestionCaption = "確認";
constexpr std::string_view kTabChangeQuestion =
    "このままタブを切り換えると変更内容が取り消されます。\nよろしいですか？";
constexpr std::string_view kSearchQuestion = "このまま検索すると変更内容が取り消されます。\nよろしいですか？";

// Main tab captions (UTF-8), by tab.
constexpr std::string_view kMainTabCaptions[kMainTabCount] = {"全て", "なし", "検索", "未完了", "完了"};

std::string_view CaptionOf(MainTab tab)
{
    return kMainTabCaptions[static_cast<int>(tab)];
}

}  // namespace

ViewTabs::ViewTabs(ToDoDocument& document, const SettingsSession& settings, Prompts& prompts)
    : document_(document),
      prompts_(prompts),
      settings_(settings),
      categoryTabText_(Utf8ToCp932("全て")),
      prevCategoryTabText_(categoryTabText_)
{
}

LineFilter ViewTabs::Filter() const
{
    // One matcher per reload: the search text's conversions are made once, not once per line.
    std::function<bool(std::string_view)> searchMatches;
    if (mainTab_ == MainTab::Search) {
        auto matcher = std::make_shared<SearchMatcher>(searchText_, settings_.Values().CaseSensitiveSearch,
                                                       conversionLibrary_.get());
        searchMatches = [matcher](std::string_view value) { return matcher->Matches(value); };
    }
    return [tab = mainTab_, filter = categoryTabText_, searchMatches](const LineFacts& facts) {
        return RowPassesView(tab, filter, facts, searchMatches);
    };
}

ViewState ViewTabs::View() const
{
    return ViewState{mainTab_, categoryTabText_, categoryTabIndex_};
}

bool ViewTabs::SetSearchText(std::string text)
{
    if (!ConfirmLeavingChanges(kSearchQuestion)) {
        return false;
    }
    searchText_ = std::move(text);
    document_.Reload();
    document_.Notify(&MainWindowObserver::ViewChanged);
    return true;
}

std::string ViewTabs::MainTabCaption(MainTab tab) const
{
    std::string caption = Utf8ToCp932(CaptionOf(tab));
    if (tab == MainTab::Search && !searchText_.empty()) {
        caption += " > [ " + searchText_ + " ]";
    }
    return caption;
}

bool ViewTabs::ConfirmLeavingChanges(std::string_view question)
{
    return !document_.State().UnsavedChanges || prompts_.AskYesNo(kQuestionCaption, question);
}

bool ViewTabs::ChangeMainTab(MainTab tab)
{
    if (tab == mainTab_ || !ConfirmLeavingChanges(kTabChangeQuestion)) {
        return tab == mainTab_;
    }
    SelectMainTab(tab);
    ApplyView();
    return true;
}

bool ViewTabs::ShowAllReloaded(std::string_view question)
{
    if (!ConfirmLeavingChanges(question)) {
        return false;
    }
    if (mainTab_ != MainTab::All) {
        SelectMainTab(MainTab::All);
    }
    ApplyView();
    return true;
}

bool ViewTabs::ReloadAfterAsking(std::string_view question)
{
    if (!ConfirmLeavingChanges(question)) {
        return false;
    }
    ApplyView();
    return true;
}

void ViewTabs::SelectMainTab(MainTab tab)
{
    mainTab_ = tab;
    if (!HasCategoryTabs(tab)) {
        categoryTabText_ = Utf8ToCp932(CaptionOf(tab));
        categoryTabs_.clear();
        categoryTabIndex_ = 0;
    } else {
        categoryTabText_ = prevCategoryTabText_;
        if (categoryTabs_.empty()) {
            const auto& categories = document_.Categories().Items();
            categoryTabs_ = {Utf8ToCp932("全て"), Utf8ToCp932("なし")};
            categoryTabs_.insert(categoryTabs_.end(), categories.begin(), categories.end());
            const auto found = std::find(categoryTabs_.begin(), categoryTabs_.end(), prevCategoryTabText_);
            categoryTabIndex_ = found == categoryTabs_.end() ? -1 : static_cast<int>(found - categoryTabs_.begin());
        }
    }
}

bool ViewTabs::ChangeCategoryTab(int index)
{
    if (index < 0 || index >= static_cast<int>(categoryTabs_.size()) || index == categoryTabIndex_ ||
        !ConfirmLeavingChanges(kTabChangeQuestion)) {
        return index == categoryTabIndex_;
    }
    categoryTabIndex_ = index;
    categoryTabText_ = categoryTabs_[static_cast<std::size_t>(index)];
    prevCategoryTabText_ = categoryTabText_;
    ApplyView();
    return true;
}

void ViewTabs::ApplyView()
{
    document_.Reload();
    if (onViewApplied_) {
        onViewApplied_();
    }
    document_.Refresh().Restart();
    document_.Notify(&MainWindowObserver::ViewChanged);
}

bool ViewTabs::CaptionBarVisible() const
{
    const Settings& values = settings_.Values();
    return HasCategoryTabs(mainTab_) &&
           (values.MainTabPosition != TabPosition::Top || values.CategoryTabPosition == TabPosition::Bottom);
}

std::string ViewTabs::CaptionBarText() const
{
    return Utf8ToCp932("  " + std::string(CaptionOf(mainTab_)) + "  [ ") + categoryTabText_ + " ]";
}

std::string ViewTabs::SelectedCategory() const
{
    return HasCategoryTabs(mainTab_) && categoryTabIndex_ >= 2 ? categoryTabText_ : std::string();
}

void ViewTabs::EnsureCategoryTab(const std::string& name)
{
    if (!HasCategoryTabs(mainTab_) || name.empty()) {
        return;
    }
    ComboHistory known;
    for (const auto& tab : categoryTabs_) {
        known.Remember(tab);
    }
    if (known.Remember(name)) {
        categoryTabs_.push_back(name);
        document_.Notify(&MainWindowObserver::ViewChanged);
    }
}

}  // namespace dolvane
