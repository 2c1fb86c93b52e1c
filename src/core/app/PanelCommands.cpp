#include "core/app/PanelCommands.h"

#include "core/edit/InheritNew.h"
#include "core/store/FieldValidation.h"
#include "core/text/Cp932Codec.h"
#include "core/text/TypedText.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

namespace dolvane {

PanelCommands::PanelCommands(ToDoDocument& document, ViewTabs& tabs, Prompts& prompts)
    : document_(document),
      prompts_(prompts),
      tabs_(tabs)
{
}

void PanelCommands::ShowSelectedRow()
{
    const ToDoRecord* shown = document_.FirstSelected();
    shownRow_ = shown == nullptr ? -1 : static_cast<int>(shown - document_.Rows().data());
    panel_.ShowRow(shown, document_.SelectedCount());
    document_.Notify(&MainWindowObserver::PanelChanged);
}

void PanelCommands::SetText(PanelField field, std::string text)
{
    panel_.SetText(field, std::move(text), document_.SelectedCount());
    document_.Notify(&MainWindowObserver::PanelChanged);
}

void PanelCommands::SetUnstorable(PanelField field, std::string character)
{
    panel_.SetUnstorable(field, std::move(character));
    document_.Notify(&MainWindowObserver::PanelChanged);
}

void PanelCommands::TakeDraggedDate(PanelField field, std::string text)
{
    panel_.SetText(field, std::move(text), document_.SelectedCount());
}

void PanelCommands::ClearForNewView()
{
    const std::size_t selected = document_.SelectedCount();
    for (const PanelField field : {PanelField::Importance, PanelField::Executor, PanelField::Category, PanelField::Task,
                                   PanelField::Progress, PanelField::Completed}) {
        panel_.SetText(field, {}, selected);
    }
    panel_.SetIncluded(PanelField::Task, false);
    panel_.SetIncluded(PanelField::Progress, false);
    document_.Notify(&MainWindowObserver::PanelChanged);
}

void PanelCommands::RememberCombos()
{
    if (panel_.Included(PanelField::Executor)) {
        document_.Executors().Remember(panel_.Text(PanelField::Executor));
    }
    if (panel_.Included(PanelField::Category)) {
        document_.Categories().Remember(panel_.Text(PanelField::Category));
        tabs_.EnsureCategoryTab(panel_.Text(PanelField::Category));
    }
}

bool PanelCommands::FieldsValid(Check check)
{
    // The ticked fields go into the one-line file format: a marker or a line break in them would
    // split the line differently when it is read back.
    static constexpr std::pair<PanelField, Field> kChecked[] = {
        {PanelField::Task, Field::Task},  // first: without a task there is no to-do to check
        {PanelField::Start, Field::Start},
        {PanelField::Deadline, Field::Deadline},
        {PanelField::Importance, Field::Importance},
        {PanelField::Executor, Field::Executor},
        {PanelField::Category, Field::Category},
        {PanelField::Progress, Field::Progress},
        {PanelField::WarningHours, Field::WarningHours},
        {PanelField::Completed, Field::Completed},
    };
    std::optional<std::string> problem;
    const bool adding = check == Check::Add;
    const auto valid = [this, check, adding, &problem](const std::pair<PanelField, Field>& entry) {
        // Inherit-new takes its task from the source, whatever the panel holds.
        if (check == Check::Inherit && entry.first == PanelField::Task) {
            return true;
        }
        const bool included = panel_.Included(entry.first);
        // Add writes a task whether its box is ticked or not: unticked, an empty one.
        const bool written = included || (adding && entry.first == PanelField::Task);
        const std::string_view text = included ? std::string_view(panel_.Text(entry.first)) : std::string_view();
        // An empty importance is taken as "0".
        if (!written || (entry.first == PanelField::Importance && text.empty())) {
            return true;
        }
        if (const std::string& character = panel_.Unstorable(entry.first); !character.empty()) {
            problem = UnstorableCharacterMessage(character);
        } else {
            problem = FieldError(entry.second, text);
        }
        return !problem.has_value();
    };
    if (std::all_of(std::begin(kChecked), std::end(kChecked), valid)) {
        return true;
    }
    prompts_.ShowError(*problem);
    return false;
}

void PanelCommands::AddFromPanel(std::optional<DateTime> start)
{
    if (!FieldsValid(Check::Add)) {
        return;
    }
    document_.ClearSelection();
    const DateTime now = document_.Now();
    // A row added while a real category tab is shown belongs to that category.
    ToDoRecord row = panel_.NewRow(now, start.value_or(now), tabs_.SelectedCategory());
    RememberCombos();
    row.Selected = true;
    document_.Rows().push_back(std::move(row));
    document_.MarkChanged(false);
    document_.Notify(&MainWindowObserver::RowsReset);
    document_.Notify(&MainWindowObserver::StoreStateChanged);
    ShowSelectedRow();
}

void PanelCommands::InheritNew()
{
    const ToDoRecord* first = document_.FirstSelected();
    if (first == nullptr || !FieldsValid(Check::Inherit)) {
        return;
    }
    const auto sourceIndex = static_cast<std::size_t>(first - document_.Rows().data());
    const DateTime now = document_.Now();
    ToDoRecord row = panel_.NewRow(now, now, tabs_.SelectedCategory());
    RememberCombos();
    const ToDoRecord& source = document_.Rows()[sourceIndex];
    std::optional<std::string> problem;
    try {
        row.DeadlineText = InheritedDeadline(source, row.StartText);
        CopyInheritedFields(source, row);
    } catch (const ConvertError& error) {
        problem = error.Message();
    }
    document_.ClearSelection();
    row.Selected = true;
    document_.Rows()[sourceIndex].Selected = true;
    document_.Rows().push_back(std::move(row));
    document_.MarkChanged(false);
    document_.Notify(&MainWindowObserver::RowsReset);
    document_.Notify(&MainWindowObserver::StoreStateChanged);
    ShowSelectedRow();
    if (problem) {
        prompts_.ShowError(Cp932ToUtf8ForDisplay(*problem));
    }
}

void PanelCommands::ReplaceSelected()
{
    if (document_.SelectedCount() == 0 || !FieldsValid(Check::Replace)) {
        return;
    }
    const DateTime now = document_.Now();
    for (auto& row : document_.Rows()) {
        if (row.Selected) {
            panel_.ReplaceInto(row, now);
        }
    }
    RememberCombos();
    ShowSelectedRow();
    document_.MarkChanged(true);
    document_.Notify(&MainWindowObserver::RowsChanged);
    document_.Notify(&MainWindowObserver::StoreStateChanged);
}

}  // namespace dolvane
