#pragma once

#include "core/text/NameValueList.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// How a holiday cell is coloured: 1 and 2 are the "$" and "&" marked days, 9 an ordinary holiday
// (or no holiday at all), 0 an ordinary holiday whose name starts with a single-byte character.
enum class HolidayKind : int { Plain = 0, Marked = 1, SecondMarked = 2, Ordinary = 9 };

struct HolidayName {
    std::string name;  // cp932, empty when the day is no holiday
    HolidayKind kind = HolidayKind::Ordinary;

    friend bool operator==(const HolidayName&, const HolidayName&) = default;
};

// The holidays of the rule file ("mm/dd=name" and "MM<weekday>N=name" lines, cp932) plus the two
// kinds derived from them: "振替休日" after a holiday on a Sunday and "国民の休日" between two holidays.
//
// Derived holidays are worked out per year, walking that year's days in order (from the last
// weeks of the year before, whose triggers can reach into January), and cached per year. So an
// answer never depends on which dates were asked before, and one year's derivation never answers
// for another year's date. Date texts are "yyyy/mm/dd" (only the first 10 bytes are read).
class HolidayCalendar final {
public:
    HolidayCalendar() = default;
    explicit HolidayCalendar(std::vector<std::string> holidayLines);

    const NameValueList& HolidayList() const noexcept { return holidayList_; }

    // Day of month of the n-th `weekday` (Sunday = 1 ... Saturday = 7) of the month; -1 when the
    // month has no such day.
    static int NthWeekdayDate(int year, int month, int n, int weekday);

    // The "mm/dd" a key stands for in `year`: a key containing "/" is its own date, a weekday rule
    // gives its day that year. Empty when the key is not a valid rule or has no day that year.
    static std::string RuleDateOf(std::string_view key, int year);

    // Name to print in the date's cell (the marker removed and cut to maxLength bytes) and its kind.
    // A weekday rule wins over a fixed date on the same day; a derived holiday fills an empty day
    // and replaces a marked day's name.
    HolidayName HolidayNameOf(std::string_view dateText, int year, std::size_t maxLength = 10) const;

    // Rule entries and derived holidays falling on the date, marked days included; 0 before 1900.
    int HolidayCountOf(std::string_view dateText, int year) const;

    // Every holiday name of the date for the status bar: unmarked names joined with "、", then
    // the derived one after ",", then the marked names without their marker.
    std::string HolidayTextOf(std::string_view dateText) const;

private:
    using DerivedDays = std::map<std::string, std::string, std::less<>>;  // "mm/dd" -> name

    std::string WeekdayRuleName(std::string_view mmdd, int year) const;
    bool IsPlainHoliday(std::string_view mmdd) const;
    const DerivedDays& DerivedHolidaysOf(int year) const;
    // The derived holiday on the date, from the derivation of the date's own year; null when none.
    const std::string* DerivedHolidayOn(std::string_view dateText) const;
    DerivedDays DeriveYear(int year) const;

    NameValueList holidayList_;
    mutable std::map<int, DerivedDays> derivedByYear_;
};

}  // namespace dolvane
