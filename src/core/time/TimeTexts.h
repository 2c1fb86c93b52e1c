#pragma once

#include "core/time/DateTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dolvane {

// Texts are cp932. The date-time text is "yyyy/mm/dd hh:nn" (16 bytes, no seconds); the empty
// text means "not set" and never reaches the readers below.

// A moment outside years 1 to 9999 formats as "": four digits cannot hold its year.
std::string FormatDateTimeText(DateTime moment);
std::string FormatDateText(DateTime moment);  // "yyyy/mm/dd"
std::string FormatTimeText(DateTime moment);  // "hh:nn", of any moment

// Readers of exactly their form; anything else (another length, an impossible date such as
// 2010/02/30, 24:00) throws ConvertError rather than giving a silently wrong moment.
DateTime ParseDateTimeText(std::string_view text);
DateTime ParseDateText(std::string_view text);  // "yyyy/mm/dd" -> that day at 00:00
DateTime ParseTimeText(std::string_view text);  // "hh:nn" -> a day fraction

// The numbers of "yyyy/mm/dd" in the first ten bytes of `text` (four digits, "/", two, "/", two),
// the time of day left at 00:00; nothing for another shape. The date need not exist: the callers
// that want a real one check it with IsValidDate.
std::optional<DateTimeParts> ReadDateDigits(std::string_view text) noexcept;

// A row's date-time text as a moment, or nothing for an empty text or one that cannot be read
// (a hand-edited file): the callers leave what depends on it out rather than fail.
std::optional<DateTime> DateTimeOrNothing(std::string_view text);

// a - b in whole seconds, each moment's fraction of a second dropped before subtracting.
// Computed in 64 bits and saturated to the signed 32-bit range.
std::int32_t DiffSeconds(DateTime a, DateTime b) noexcept;

// "over", "05分", "01:00分", "2日5時間", "01年": the remaining or elapsed time from earlier to later.
std::string DurationText(DateTime later, DateTime earlier);

// Texts of the "残り時間" and "経過時間" columns; "" for an empty input text.
std::string RemainingTimeText(std::string_view deadlineText, DateTime now);
std::string ElapsedTimeText(std::string_view startText, DateTime now);

// "5時間", "1日と1時間", "3年と1日と1時間"; "" for zero or negative hours.
std::string WarningPeriodText(std::int32_t hours);

// When a row with this deadline turns to its warning colour. The hour unit is 0.041667 day,
// not 1/24, so the warning starts a little earlier than an exact hour count would.
DateTime WarningStartMoment(DateTime deadline, std::int32_t hours) noexcept;

// "40%": elapsed share of the planned time, truncated toward zero; below 0 and above 100 shown
// as they are. "" when start and deadline are the same second (no planned time to divide by).
std::string ElapsedRateText(DateTime start, DateTime deadline, DateTime now);

// Hours of warning held as text: "" and anything that is not a whole number count as 0.
std::int32_t WarningHoursOf(std::string_view text) noexcept;

}  // namespace dolvane
