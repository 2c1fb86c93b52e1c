#include "core/view/StatusRefresh.h"

#include "core/time/TimeTexts.h"

#include <string>
#include <utility>

namespace dolvane {
namespace {

constexpr std::int32_t kSecondsPerHour = 3600;

std::string ElapsedFor(const ToDoRecord& row, DateTime now, bool elapsedRate)
{
    if (row.StartText.empty()) {
        return {};
    }
    // Any unreadable date text involved leaves the cell empty, as loading does.
    try {
        if (row.Completed && !row.CompletedText.empty()) {
            // The time the to-do took, in whole hours truncated toward zero ("" below one hour).
            const std::int32_t seconds =
                DiffSeconds(ParseDateTimeText(row.CompletedText), ParseDateTimeText(row.StartText));
            return WarningPeriodText(seconds / kSecondsPerHour);
        }
        if (elapsedRate && !row.Completed && !row.DeadlineText.empty()) {
            return ElapsedRateText(ParseDateTimeText(row.StartText), ParseDateTimeText(row.DeadlineText), now);
        }
        return ElapsedTimeText(row.StartText, now);
    } catch (const ConvertError&) {
        return {};
    }
}

// Writes only a changed text, so an unchanged pass asks for no repaint.
bool Rewrite(std::string& cell, std::string text)
{
    if (cell == text) {
        return false;
    }
    cell = std::move(text);
    return true;
}

}  // namespace

bool RefreshRowStatus(ToDoRecord& row, DateTime now, bool elapsedRate)
{
    // The remaining text first: it reads the elapsed cell as the previous visit left it, so once a
    // to-do's start has passed its remaining time appears one pass after its elapsed time does.
    const bool remainingChanged = Rewrite(row.RemainingText, RemainingTextFor(row, row.ElapsedText, now));
    const bool elapsedChanged = Rewrite(row.ElapsedText, ElapsedFor(row, now, elapsedRate));
    return remainingChanged || elapsedChanged;
}

void ComputeSettledRowTexts(ToDoRecord& row, DateTime now)
{
    // The refresh's elapsed text differs from the load's only for a completed row (the time it
    // took), whose remaining text does not read it; an open row's is the same text the load's
    // remaining text was made with.
    row.ElapsedText = ElapsedFor(row, now, false);
    row.RemainingText = RemainingTextFor(row, row.ElapsedText, now);
    row.WarningText = WarningPeriodText(WarningHoursOf(row.WarningHours));
}

StatusRefresh::TickResult StatusRefresh::Tick(std::vector<ToDoRecord>& rows, DateTime now)
{
    TickResult result;
    if (rows.empty()) {
        return result;
    }
    // Past the last row (also when rows were removed since the last tick): the pass is over.
    if (refreshRow_ >= rows.size()) {
        refreshRow_ = 0;
        result.repaintAll = statusChanged_;
        statusChanged_ = false;
        if (intervalMs_ < kSlowIntervalMs) {
            intervalMs_ = kSlowIntervalMs;
        }
        return result;
    }
    if (RefreshRowStatus(rows[refreshRow_], now, elapsedRate_)) {
        statusChanged_ = true;
        result.changedRow = refreshRow_;
    }
    ++refreshRow_;
    return result;
}

void StatusRefresh::Restart() noexcept
{
    intervalMs_ = kFastIntervalMs;
    refreshRow_ = 0;
}

}  // namespace dolvane
