#include "core/time/DateTime.h"

#include "core/text/Cp932Codec.h"

#include <cmath>

namespace dolvane {
namespace {

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
// Day number of 1970-01-01 counted from 1899-12-30.
constexpr std::int64_t kUnixEpochDay = 25'569;

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's days_from_civil).
constexpr std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) noexcept
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + static_cast<std::int64_t>(dayOfEra) - 719'468;
}

static_assert(DaysFromCivil(1, 1, 1) + kUnixEpochDay == kFirstDayNumber);
static_assert(DaysFromCivil(9999, 12, 31) + kUnixEpochDay == kLastDayNumber);

struct CivilDate {
    int year;
    int month;
    int day;
};

constexpr CivilDate CivilFromDays(std::int64_t days) noexcept
{
    days += 719'468;
    const std::int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146'097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
    return {static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
}

// The day number and the milliseconds into that day. Before 1899-12-30 the day count is
// negative and the fraction still counts forward from midnight (-1.25 is 1899-12-29 06:00).
struct DayAndTime {
    std::int64_t day;
    std::int64_t millisecond;
};

DayAndTime SplitMoment(DateTime moment) noexcept
{
    const double whole = std::trunc(moment.days);
    auto day = static_cast<std::int64_t>(whole);
    auto millisecond = static_cast<std::int64_t>(std::llround(std::fabs(moment.days - whole) * kMillisecondsPerDay));
    if (millisecond >= kMillisecondsPerDay) {
        // Rounded up to the next midnight: the following calendar day, which is day + 1 on
        // either side of day 0.
        millisecond -= kMillisecondsPerDay;
        ++day;
    }
    return {day, millisecond};
}

}  // namespace

bool IsValidDate(int year, int month, int day) noexcept
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

int DaysInMonth(int year, int month) noexcept
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::int64_t DayNumberOf(int year, int month, int day) noexcept
{
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kUnixEpochDay;
}

DateTime EncodeDateTime(const DateTimeParts& parts) noexcept
{
    const auto day = static_cast<double>(DayNumberOf(parts.year, parts.month, parts.day));
    const double time =
        static_cast<double>(((parts.hour * 60 + parts.minute) * 60 + parts.second) * 1000 + parts.millisecond) /
        static_cast<double>(kMillisecondsPerDay);
    return DateTime{day >= 0 ? day + time : day - time};
}

DateTimeParts DecodeDateTime(DateTime moment) noexcept
{
    const auto [day, millisecond] = SplitMoment(moment);
    const CivilDate date = CivilFromDays(day - kUnixEpochDay);
    DateTimeParts parts;
    parts.year = date.year;
    parts.month = date.month;
    parts.day = date.day;
    parts.hour = static_cast<int>(millisecond / 3'600'000);
    parts.minute = static_cast<int>(millisecond / 60'000 % 60);
    parts.second = static_cast<int>(millisecond / 1000 % 60);
    parts.millisecond = static_cast<int>(millisecond % 1000);
    return parts;
}

std::int64_t UnixSecondsOf(DateTime moment) noexcept
{
    const auto [day, millisecond] = SplitMoment(moment);
    return (day - kUnixEpochDay) * 86'400 + millisecond / 1000;
}

int DayOfWeek(DateTime moment) noexcept
{
    // Day 0 (1899-12-30) was a Saturday.
    const std::int64_t day = SplitMoment(moment).day;
    return static_cast<int>(((day + 6) % 7 + 7) % 7) + 1;
}

ConvertError::ConvertError(Kind kind, std::string_view text)
    : std::runtime_error("text is not a valid date or time"),
      kind_(kind),
      text_(text)
{
}

std::string ConvertError::Message() const
{
    std::string_view tail;
    switch (kind_) {
    case Kind::DateTime:
        tail = "' は日付または時刻ではありません";
        break;
    case Kind::Date:
        tail = "' は日付ではありません";
        break;
    case Kind::Time:
        tail = "' は時刻ではありません";
        break;
    }
    return "'" + text_ + Utf8ToCp932(tail);
}

}  // namespace dolvane
