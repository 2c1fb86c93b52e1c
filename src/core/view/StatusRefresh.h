#pragma once

#include "core/store/ToDoRecord.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace dolvane {

// Recomputes the remaining and elapsed texts of one row at `now`; true when either changed.
// With `elapsedRate` an open row with a deadline shows its elapsed share ("40%") instead.
bool RefreshRowStatus(ToDoRecord& row, DateTime now, bool elapsedRate);

// The three computed texts a row shows once loaded and visited by the status refresh ("経過率"
// off): what ComputeRowTexts and then RefreshRowStatus give, each date read once.
void ComputeSettledRowTexts(ToDoRecord& row, DateTime now);

// Keeps the time columns current one row per tick, so a long list never blocks the window:
// fast ticks until the first full pass after a (re)start, slow ticks after it.
class StatusRefresh final {
public:
    static constexpr int kFastIntervalMs = 100;
    static constexpr int kSlowIntervalMs = 500;

    struct TickResult {
        std::optional<std::size_t> changedRow;  // a row whose cells were rewritten this tick
        bool repaintAll = false;                // a pass ended after changing cells: colours follow
    };

    // One tick: refresh the row at RefreshRow, or end the pass when it lies past the last row.
    // An empty list changes nothing.
    TickResult Tick(std::vector<ToDoRecord>& rows, DateTime now);

    // Back to the fast phase from the first row (after a reload or a change of the rate mode).
    void Restart() noexcept;

    void SetElapsedRate(bool on) noexcept { elapsedRate_ = on; }
    bool ElapsedRate() const noexcept { return elapsedRate_; }
    int IntervalMs() const noexcept { return intervalMs_; }
    std::size_t RefreshRow() const noexcept { return refreshRow_; }
    bool StatusChanged() const noexcept { return statusChanged_; }

private:
    std::size_t refreshRow_ = 0;
    bool statusChanged_ = false;
    bool elapsedRate_ = false;
    int intervalMs_ = kFastIntervalMs;
};

}  // namespace dolvane
