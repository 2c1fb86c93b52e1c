#include "core/edit/EditPanel.h"

#include "core/text/Numbers.h"
#include "core/time/TimeTexts.h"

#include <algorithm>

namespace dolvane {
namespace {

constexpr std::int32_t kMaxWarningHours = 32767;

std::string ElapsedOrEmpty(const std::string& startText, DateTime now)
{
    try {
        return ElapsedTimeText(startText, now);
    } catch (const ConvertError&) {
        return {};
    }
}

// The time left to a deadline text; "" without a deadline or when the text cannot be read.
std::string RemainingOrEmpty(const std::string& deadlineText, DateTime now)
{
    try {
        return RemainingTimeText(deadlineText, now);
    } catch (const ConvertError&) {
        return {};
    }
}

// The file keeps importance in exactly one byte; a field left empty (a tab change empties it)
// stands for the default "0" rather than shifting the progress digits into its place.
std::string ImportanceText(const std::string& text)
{
    return text.empty() ? std::string("0") : text;
}

}  // namespace

EditPanel::EditPanel()
{
    // The numeric fields and the importance combo start at "0", as their controls do.
    texts_[Index(PanelField::Importance)] = "0";
    texts_[Index(PanelField::Progress)] = "0";
    texts_[Index(PanelField::WarningHours)] = "0";
}

std::int32_t EditPanel::WarningHoursValue() const
{
    return std::clamp(ParseInt32(Text(PanelField::WarningHours)).value_or(0), 0, kMaxWarningHours);
}

void EditPanel::SetText(PanelField field, std::string text, std::size_t selectedRows)
{
    unstorable_[Index(field)].clear();
    std::string& current = texts_[Index(field)];
    if (current == text) {
        return;
    }
    current = std::move(text);
    replaceEnabled_ = !Text(PanelField::Task).empty() && selectedRows >= 1;
    included_[Index(field)] = true;
    if (field == PanelField::Task) {
        taskCaptionRed_ = current.empty();
    }
}

void EditPanel::SetUnstorable(PanelField field, std::string character)
{
    unstorable_[Index(field)] = std::move(character);
    included_[Index(field)] = true;
}

void EditPanel::PressIncludeBox(std::size_t selectedRows)
{
    if (selectedRows >= 2) {
        replaceEnabled_ = true;
    }
}

void EditPanel::ShowRow(const ToDoRecord* row, std::size_t selectedRows)
{
    const auto show = [&](PanelField field, const std::string* text) {
        SetText(field, text != nullptr ? *text : std::string(), selectedRows);
    };
    const bool has = row != nullptr;
    show(PanelField::Start, has ? &row->StartText : nullptr);
    show(PanelField::Deadline, has ? &row->DeadlineText : nullptr);
    show(PanelField::Importance, has ? &row->Importance : nullptr);
    show(PanelField::Executor, has ? &row->Executor : nullptr);
    show(PanelField::Task, has ? &row->TaskText : nullptr);
    show(PanelField::Category, has ? &row->Category : nullptr);
    show(PanelField::Progress, has ? &row->Progress : nullptr);
    show(PanelField::Completed, has ? &row->CompletedText : nullptr);
    show(PanelField::WarningHours, has ? &row->WarningHours : nullptr);
    replaceEnabled_ = false;
    included_.fill(false);
}

ToDoRecord EditPanel::NewRow(DateTime now, DateTime start, const std::string& categoryTab) const
{
    const auto take = [this](PanelField field, const std::string& fallback) -> std::string {
        return Included(field) ? Text(field) : fallback;
    };
    ToDoRecord row;
    row.StartText = take(PanelField::Start, FormatDateTimeText(start));
    row.DeadlineText = take(PanelField::Deadline, "");
    row.Importance = ImportanceText(take(PanelField::Importance, "0"));
    row.Executor = take(PanelField::Executor, "");
    row.TaskText = take(PanelField::Task, "");
    row.Category = take(PanelField::Category, categoryTab);
    row.Progress = take(PanelField::Progress, "");
    row.RemainingText = RemainingOrEmpty(row.DeadlineText, now);
    if (Included(PanelField::WarningHours)) {
        row.WarningText = WarningPeriodText(WarningHoursValue());
        row.WarningHours = std::to_string(WarningHoursValue());
    }
    row.CompletedText = take(PanelField::Completed, "");
    return row;
}

void EditPanel::ReplaceInto(ToDoRecord& row, DateTime now) const
{
    if (Included(PanelField::Start)) {
        row.StartText = Text(PanelField::Start);
    }
    if (Included(PanelField::Deadline)) {
        row.DeadlineText = Text(PanelField::Deadline);
        row.RemainingText = row.Completed ? RemainingTextFor(row, {}, now) : RemainingOrEmpty(row.DeadlineText, now);
    }
    if (Included(PanelField::Importance)) {
        row.Importance = ImportanceText(Text(PanelField::Importance));
    }
    if (Included(PanelField::Executor)) {
        row.Executor = Text(PanelField::Executor);
    }
    if (Included(PanelField::Task)) {
        row.TaskText = Text(PanelField::Task);
    }
    if (Included(PanelField::Category)) {
        row.Category = Text(PanelField::Category);
    }
    if (Included(PanelField::Progress)) {
        row.Progress = Text(PanelField::Progress);
    }
    row.ElapsedText = ElapsedOrEmpty(row.StartText, now);
    if (Included(PanelField::WarningHours)) {
        row.WarningText = WarningPeriodText(WarningHoursValue());
        row.WarningHours = std::to_string(WarningHoursValue());
    }
    if (Included(PanelField::Completed)) {
        row.CompletedText = Text(PanelField::Completed);
    }
}

}  // namespace dolvane
