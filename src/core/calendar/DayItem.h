#pragma once

#include "core/store/ToDoRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// "yyyy/mm/dd" as the number yyyymmdd, or -1 when the text has another shape. Numbers of such
// texts order as the texts do.
std::int32_t DateKeyOf(std::string_view text);

// One to-do on the days of the calendar it is present on: where its progress stands and the texts
// its bar's labels show.
struct DayItem {
    static constexpr std::size_t kHeadLength = 20;  // bytes of the task shown beside the bar
    static constexpr std::size_t kTimeLength = 5;   // "hh:nn"

    std::uint32_t row = 0;              // the to-do's index in the list
    std::int32_t progressDay = -1;      // DateKeyOf the day its progress reaches
    std::uint16_t progressPercent = 0;  // how far into that day, in percent (more for a hand-edited progress)
    bool hasDeadlineTime = false;       // a to-do without deadline shows its start time at its end
    std::uint8_t headLength = 0;
    // The time parts of the start and deadline texts as they stand, blank-padded.
    std::array<char, kTimeLength> startTime{};
    std::array<char, kTimeLength> deadlineTime{};
    std::array<char, kHeadLength> head{};  // cp932, cut at 20 bytes (possibly inside a character)

    std::string_view StartTime() const noexcept { return {startTime.data(), startTime.size()}; }
    std::string_view DeadlineTime() const noexcept
    {
        return hasDeadlineTime ? std::string_view(deadlineTime.data(), deadlineTime.size()) : std::string_view();
    }
    std::string_view Head() const noexcept { return {head.data(), headLength}; }
    // The progress day as "yyyy/mm/dd", for an export.
    std::string ProgressDateText() const;

    friend bool operator==(const DayItem&, const DayItem&) = default;
};

// Where a to-do stands in the order of a day's items: spanning several days before single days,
// then higher importance (lower rank first); the list index decides among equal ranks.
std::uint8_t DayItemRank(const ToDoRecord& row);

// The item of the to-do at list index `index`; none when the to-do has no place in the calendar
// (no start, or dates that cannot be read).
std::optional<DayItem> MakeDayItem(const ToDoRecord& row, std::uint32_t index);

// The items of the to-dos present on `dateText` ("yyyy/mm/dd"), in the calendar's order. Scans
// every row; the grid fill finds the same items through its runs of dates.
std::vector<DayItem> BuildDayTodoList(const std::vector<ToDoRecord>& rows, std::string_view dateText);

}  // namespace dolvane
