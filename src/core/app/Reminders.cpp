#include "core/app/Reminders.h"

#include "core/text/Cp932Codec.h"
#include "core/time/TimeTexts.h"
#include "core/view/RowColour.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace dolvane {
namespace {

// Enough for the notifications a desktop still shows; older ids are no longer clickable anyway.
constexpr std::size_t kClickableNotifications = 64;

std::string FirstLineOf(const std::string& task)
{
    // CR and LF are never trail bytes in cp932, so the cut cannot split a character.
    return task.substr(0, task.find_first_of("\r\n"));
}

std::int64_t DayOf(DateTime moment)
{
    return static_cast<std::int64_t>(std::floor(moment.days));
}

}  // namespace

std::optional<ReminderState> ReminderStateOf(const ToDoRecord& row, DateTime now)
{
    if (row.Completed) {
        return std::nullopt;
    }
    // The colour says it: a row is reminded of exactly when the list paints it so. The keeping
    // period only matters for completed rows.
    const auto colour = RowColour(row, now, 0);
    if (colour == kOverdueColour) {
        return ReminderState::Overdue;
    }
    if (colour == kWarningColour) {
        return ReminderState::Warning;
    }
    return std::nullopt;
}

std::string ReminderKeyOf(const ToDoRecord& row)
{
    // A byte that neither text can hold keeps "a" + "bc" apart from "ab" + "c".
    return row.StartText + '\0' + row.TaskText;
}

Reminders::Reminders(ToDoDocument& document, const SettingsSession& settings, Notifier* notifier)
    : document_(document),
      settings_(settings),
      notifier_(notifier)
{
}

void Reminders::Tick()
{
    const DateTime now = document_.Now();
    if (lastCheck_ && now.days - lastCheck_->days < kCheckIntervalDays && now.days >= lastCheck_->days) {
        return;
    }
    lastCheck_ = now;
    Check();
}

void Reminders::Check()
{
    if (notifier_ == nullptr || !settings_.Values().Reminders) {
        return;
    }
    const DateTime now = document_.Now();
    const std::int64_t today = DayOf(now);
    const auto& rows = document_.Rows();
    std::vector<Due> due;
    for (std::size_t index = 0; index < rows.size(); ++index) {
        const auto state = ReminderStateOf(rows[index], now);
        if (state && notified_.emplace(ReminderKeyOf(rows[index]), *state, today).second) {
            due.push_back({index, *state, ParseDateTimeText(rows[index].DeadlineText)});
        }
    }
    // The most pressing first: overdue before warning, then by deadline.
    std::stable_sort(due.begin(), due.end(), [](const Due& a, const Due& b) {
        if (a.state != b.state) {
            return a.state == ReminderState::Overdue;
        }
        return a.deadline.days < b.deadline.days;
    });
    const std::size_t shown = std::min(due.size(), kBurst);
    for (std::size_t i = 0; i < shown; ++i) {
        Send(due[i]);
    }
    if (due.size() > kBurst) {
        const auto overdue = static_cast<std::size_t>(
            std::count_if(due.begin(), due.end(), [](const Due& d) { return d.state == ReminderState::Overdue; }));
        SendSummary(overdue, due.size() - overdue);
    }
}

void Reminders::Send(const Due& due)
{
    const ToDoRecord& row = document_.Rows()[due.row];
    const std::string when = "（期限 " + row.DeadlineText + "）";
    const std::string body =
        due.state == ReminderState::Overdue ? "期限が過ぎました" + when : "警告期間に入りました" + when;
    if (const auto id = notifier_->Notify(Cp932ToUtf8ForDisplay(FirstLineOf(row.TaskText)), body)) {
        Remember(*id, ReminderKeyOf(row));
    }
}

void Reminders::SendSummary(std::size_t overdue, std::size_t warning)
{
    const std::string overdueText = std::to_string(overdue) + "件のToDoが期限切れです";
    const std::string warningText = std::to_string(warning) + "件のToDoが警告期間に入りました";
    if (overdue == 0) {
        notifier_->Notify(warningText, "");
    } else {
        notifier_->Notify(overdueText, warning == 0 ? "" : warningText);
    }
}

void Reminders::Remember(std::uint32_t id, std::string key)
{
    shown_.emplace_back(id, std::move(key));
    if (shown_.size() > kClickableNotifications) {
        shown_.pop_front();
    }
}

std::optional<std::size_t> Reminders::RowOfNotification(std::uint32_t id) const
{
    const auto entry =
        std::find_if(shown_.rbegin(), shown_.rend(), [id](const auto& shown) { return shown.first == id; });
    if (entry == shown_.rend()) {
        return std::nullopt;
    }
    const auto& rows = document_.Rows();
    for (std::size_t index = 0; index < rows.size(); ++index) {
        if (ReminderKeyOf(rows[index]) == entry->second) {
            return index;
        }
    }
    return std::nullopt;
}

}  // namespace dolvane
