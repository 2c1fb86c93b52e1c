#pragma once

#include "core/app/SettingsSession.h"
#include "core/app/ToDoDocument.h"
#include "core/ports/Notifier.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>

namespace dolvane {

// What a reminder says about an open to-do: its warning period has begun, or its deadline passed.
enum class ReminderState { Warning, Overdue };

// The reminder a row is due for at `now`, by the same rule as the row colours; nothing for
// completed rows, rows without a readable deadline and rows not yet in their warning period.
std::optional<ReminderState> ReminderStateOf(const ToDoRecord& row, DateTime now);

// Who a to-do is across reloads, sorts and deletions of other rows: its start and task (cp932).
std::string ReminderKeyOf(const ToDoRecord& row);

// Desktop notifications while the window runs: one when an open to-do enters its warning period
// and one when it becomes overdue, once per to-do, state and day. What was notified is remembered
// for the run only; nothing of it is written to the list file. The status timer's tick calls `Tick`.
class Reminders final {
public:
    // At most this many to-dos are notified one by one in a check; past it one summary stands for
    // the rest, so a list full of old deadlines never floods the desktop.
    static constexpr std::size_t kBurst = 3;
    // The rows are looked over at most this often (in days of the clock: 30 s).
    static constexpr double kCheckIntervalDays = 30.0 / 86400.0;

    // `notifier` may be absent: then there are no reminders.
    Reminders(ToDoDocument& document, const SettingsSession& settings, Notifier* notifier);

    // Looks over the rows when the last check is `kCheckIntervalDays` ago (the first tick always).
    void Tick();
    // Looks over the rows now. Does nothing while reminders are switched off.
    void Check();

    // The row a clicked notification stands for, found again by its key; nothing for a summary, a
    // foreign id, or a to-do that is no longer in the rows.
    std::optional<std::size_t> RowOfNotification(std::uint32_t id) const;

private:
    struct Due {
        std::size_t row;
        ReminderState state;
        DateTime deadline;
    };
    void Send(const Due& due);
    void SendSummary(std::size_t overdue, std::size_t warning);
    void Remember(std::uint32_t id, std::string key);

    ToDoDocument& document_;
    const SettingsSession& settings_;
    Notifier* notifier_;
    std::optional<DateTime> lastCheck_;
    // (key, state, day number) of every reminder given this run.
    std::set<std::tuple<std::string, ReminderState, std::int64_t>> notified_;
    // The keys behind the latest notification ids, oldest first; only a few are ever clickable.
    std::deque<std::pair<std::uint32_t, std::string>> shown_;
};

}  // namespace dolvane
