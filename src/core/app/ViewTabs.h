#pragma once

#include "core/app/SettingsSession.h"
#include "core/app/ToDoDocument.h"
#include "core/ports/ConversionLibrary.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dolvane {

// The main tabs, the category tabs and the search: which rows the list shows, the captions of
// the tabs and of the caption bar. Switching the view reloads the list through the new filter.
class ViewTabs final : public ViewSource {
public:
    ViewTabs(ToDoDocument& document, const SettingsSession& settings, Prompts& prompts);

    // What else starts afresh when the view changes (the panel's fields, the calendar's bar
    // highlight); set while the window model is put together.
    void SetViewApplied(std::function<void()> onViewApplied) { onViewApplied_ = std::move(onViewApplied); }

    // The optional conversion library the search folds kana with; held while the window lives.
    void SetConversionLibrary(std::unique_ptr<ConversionLibrary> library) { conversionLibrary_ = std::move(library); }
    bool HasConversionLibrary() const noexcept { return conversionLibrary_ != nullptr; }

    LineFilter Filter() const override;
    ViewState View() const override;

    // Switches to another main tab or category tab. With unsaved changes the user is asked
    // first; false when the switch did not happen. The list is reloaded through the new view,
    // the panel cleared and the status refresh restarted.
    bool ChangeMainTab(MainTab tab);
    bool ChangeCategoryTab(int index);
    // Shows "全て" freshly reloaded from the list file, also when it is shown already (before a
    // ".tod" import or export). With unsaved changes the user is asked `question` first (it names
    // the command, since the tab may not change at all); false on No.
    bool ShowAllReloaded(std::string_view question);
    // Reloads the current view from the list file, asking `question` first when there are
    // unsaved changes; false on No.
    bool ReloadAfterAsking(std::string_view question);

    MainTab CurrentTab() const noexcept { return mainTab_; }
    // The captions of the category tabs (cp932): only on "未完了" and "完了".
    const std::vector<std::string>& CategoryTabs() const noexcept { return categoryTabs_; }
    int CategoryTabIndex() const noexcept { return categoryTabIndex_; }
    const std::string& CategoryTabText() const noexcept { return categoryTabText_; }
    const std::string& PrevCategoryTabText() const noexcept { return prevCategoryTabText_; }
    // The caption bar shows the view's name where the tab rows do not make it plain.
    bool CaptionBarVisible() const;
    std::string CaptionBarText() const;  // cp932
    // The text of a real category tab while one is selected, else empty: new rows belong to it.
    std::string SelectedCategory() const;
    // A category met by Add or Replace becomes a tab at once while a category view is shown.
    void EnsureCategoryTab(const std::string& name);

    // The Find command took a new search text (cp932, may be empty): the "検索" tab's caption
    // follows and the current view is reloaded. The reload drops unsaved changes, so with some
    // the user is asked first; false (and the old text kept) when the answer is no.
    bool SetSearchText(std::string text);
    const std::string& SearchText() const noexcept { return searchText_; }
    // The caption of a main tab (cp932): "検索 > [ text ]" while there is a search text.
    std::string MainTabCaption(MainTab tab) const;

private:
    bool ConfirmLeavingChanges(std::string_view question);
    void SelectMainTab(MainTab tab);
    void ApplyView();

    ToDoDocument& document_;
    Prompts& prompts_;
    const SettingsSession& settings_;
    std::function<void()> onViewApplied_;
    std::unique_ptr<ConversionLibrary> conversionLibrary_;

    MainTab mainTab_ = MainTab::All;
    int categoryTabIndex_ = 0;  // 0 "全て", 1 "なし", 2.. the categories
    std::string categoryTabText_;
    std::string prevCategoryTabText_;
    std::string searchText_;
    std::vector<std::string> categoryTabs_;
};

}  // namespace dolvane
