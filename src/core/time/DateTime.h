#pragma once

#include <compare>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dolvane {

// A moment of local wall-clock time as a day count since 1899-12-30 00:00, the time of day
// being the fraction (0.5 is noon). No time zone or daylight saving is held or applied.
struct DateTime {
    double days = 0.0;

    // NOLINTNEXTLINE(modernize-use-nullptr): clang-tidy 14 misreads a defaulted <=>
    friend auto operator<=>(const DateTime&, const DateTime&) = default;
};

// A moment taken apart. Decoding rounds to whole milliseconds, so a moment built from a text
// ("09:05") never comes back as 09:04:59.999 through floating-point error.
struct DateTimeParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    friend bool operator==(const DateTimeParts&, const DateTimeParts&) = default;
};

// Days since 1899-12-30 of a proleptic Gregorian date. The caller checks the date is valid.
std::int64_t DayNumberOf(int year, int month, int day) noexcept;
// Dates have four-digit years, 1 to 9999: the day numbers of 0001/01/01 and 9999/12/31.
inline constexpr std::int64_t kFirstDayNumber = -693'593;
inline constexpr std::int64_t kLastDayNumber = 2'958'465;
bool IsValidDate(int year, int month, int day) noexcept;
int DaysInMonth(int year, int month) noexcept;

DateTime EncodeDateTime(const DateTimeParts& parts) noexcept;
DateTimeParts DecodeDateTime(DateTime moment) noexcept;

// The moment as whole seconds since 1970-01-01 00:00:00 (the fraction of a second dropped).
std::int64_t UnixSecondsOf(DateTime moment) noexcept;

// Weekday with Sunday = 1 ... Saturday = 7.
int DayOfWeek(DateTime moment) noexcept;

// A text that is not a date, a time or a date and time. `Text` holds the offending cp932 text;
// `Message` is the program's own message with it in place, in cp932.
class ConvertError final : public std::runtime_error {
public:
    enum class Kind { DateTime, Date, Time };

    ConvertError(Kind kind, std::string_view text);

    Kind Which() const noexcept { return kind_; }
    const std::string& Text() const noexcept { return text_; }
    std::string Message() const;

private:
    Kind kind_;
    std::string text_;
};

}  // namespace dolvane
