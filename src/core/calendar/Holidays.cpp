#include "core/calendar/Holidays.h"

#include "core/text/ByteKind.h"
#include "core/text/Cp932Codec.h"
#include "core/text/Numbers.h"
#include "core/time/DateTime.h"
#include "core/time/TimeTexts.h"

#include <cstdio>
#include <optional>
#include <utility>

namespace dolvane {
namespace {

// The rules look at up to 8 days after a Sunday and 2 days after a holiday, so a year's derived
// days can only be triggered from its own days and the last days of December before it; starting
// a few weeks early also lets those triggers see the entries made before them.
constexpr int leadInMonth = 12;
constexpr int leadInDay = 1;
constexpr int substituteScanDays = 8;

const std::string& SubstituteHolidayName()
{
    static const std::string name = Utf8ToCp932("振替休日");
    return name;
}

const std::string& CitizensHolidayName()
{
    static const std::string name = Utf8ToCp932("国民の休日");
    return name;
}

// Two bytes a character, Sunday first: each character names its own weekday (日 = 1 ... 土 = 7).
const std::string& WeekdayCharacters()
{
    static const std::string characters = Utf8ToCp932("日月火水木金土");
    return characters;
}

bool HasMarker(std::string_view value)
{
    return value.find_first_of("$&") != std::string_view::npos;
}

std::string MonthDayText(int month, int day)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d", month, day);
    return text;
}

std::string MonthDayOf(std::int64_t dayNumber)
{
    const auto parts = DecodeDateTime(DateTime{static_cast<double>(dayNumber)});
    return MonthDayText(parts.month, parts.day);
}

int WeekdayOf(std::int64_t dayNumber)
{
    return DayOfWeek(DateTime{static_cast<double>(dayNumber)});
}

// "mm/dd" part of a date text; empty when the text is too short to hold one.
std::string_view MonthDayPart(std::string_view dateText)
{
    return dateText.size() >= 10 ? dateText.substr(5, 5) : std::string_view{};
}

// The day number of a "yyyy/mm/dd" text, when it is a real date.
std::optional<std::int64_t> DayNumberOfText(std::string_view dateText)
{
    const auto date = ReadDateDigits(dateText);
    if (!date || !IsValidDate(date->year, date->month, date->day)) {
        return std::nullopt;
    }
    return DayNumberOf(date->year, date->month, date->day);
}

}  // namespace

HolidayCalendar::HolidayCalendar(std::vector<std::string> holidayLines) : holidayList_(std::move(holidayLines)) {}

int HolidayCalendar::NthWeekdayDate(int year, int month, int n, int weekday)
{
    if (!IsValidDate(year, month, 1)) {
        return -1;
    }
    const int first = WeekdayOf(DayNumberOf(year, month, 1));
    const int day = 1 + ((weekday - first + 7) % 7) + 7 * (n - 1);
    return day <= DaysInMonth(year, month) ? day : -1;
}

std::string HolidayCalendar::RuleDateOf(std::string_view key, int year)
{
    if (key.find('/') != std::string_view::npos) {
        return std::string(key);
    }
    // "MM" + one double-byte weekday character + "N".
    if (key.size() != 5) {
        return {};
    }
    const auto month = DigitsValue(key.substr(0, 2));
    const auto n = DigitsValue(key.substr(4, 1));
    const auto position = WeekdayCharacters().find(key.substr(2, 2));
    if (!month || !n || position == std::string::npos || position % 2 != 0) {
        return {};
    }
    const int weekday = static_cast<int>(position / 2) + 1;
    if (*month < 1 || *month > 12 || *n < 1 || *n > 5) {
        return {};
    }
    const int day = NthWeekdayDate(year, *month, *n, weekday);
    return day < 0 ? std::string{} : MonthDayText(*month, day);
}

std::string HolidayCalendar::WeekdayRuleName(std::string_view mmdd, int year) const
{
    if (year < 1900) {
        return {};
    }
    for (const auto& entry : holidayList_.Entries()) {
        const auto key = NameValueList::NameOf(entry);
        if (key.empty() || (key.size() >= 3 && key[2] == '/')) {
            continue;
        }
        if (RuleDateOf(key, year) == mmdd) {
            return std::string(holidayList_.Value(key));
        }
    }
    return {};
}

bool HolidayCalendar::IsPlainHoliday(std::string_view mmdd) const
{
    const auto value = holidayList_.Value(mmdd);
    return !value.empty() && !HasMarker(value);
}

HolidayCalendar::DerivedDays HolidayCalendar::DeriveYear(int year) const
{
    // Keyed by day number while walking, so triggers in the December before see their own entries.
    std::map<std::int64_t, std::string> derived;
    const std::int64_t first = DayNumberOf(year - 1, leadInMonth, leadInDay);
    const std::int64_t last = DayNumberOf(year, 12, 31);
    for (std::int64_t d = first; d <= last; ++d) {
        const auto parts = DecodeDateTime(DateTime{static_cast<double>(d)});
        const auto mmdd = MonthDayText(parts.month, parts.day);
        auto name = WeekdayRuleName(mmdd, parts.year);
        if (name.empty()) {
            name = holidayList_.Value(mmdd);
        }
        if (name.empty() || (HasMarker(name) && derived.contains(d))) {
            continue;
        }
        // Only fixed-date entries count here: a Sunday weekday rule never moves anything.
        const std::int64_t sunday = d - (WeekdayOf(d) - 1);
        if (IsPlainHoliday(MonthDayOf(sunday))) {
            for (int k = 1; k <= substituteScanDays; ++k) {
                if (!IsPlainHoliday(MonthDayOf(sunday + k))) {
                    derived.try_emplace(sunday + k, SubstituteHolidayName());
                    break;
                }
            }
        }
        if (!HasMarker(name) && IsPlainHoliday(MonthDayOf(d + 2))) {
            const auto between = holidayList_.Value(MonthDayOf(d + 1));
            if (between.empty() || HasMarker(between)) {
                derived.try_emplace(d + 1, CitizensHolidayName());
            }
        }
    }
    DerivedDays days;
    for (const auto& [dayNumber, name] : derived) {
        // Entries spilling into the next January belong to that year's own walk.
        if (dayNumber >= DayNumberOf(year, 1, 1) && dayNumber <= last) {
            days.emplace(MonthDayOf(dayNumber), name);
        }
    }
    return days;
}

const HolidayCalendar::DerivedDays& HolidayCalendar::DerivedHolidaysOf(int year) const
{
    static const DerivedDays none;
    // The walk needs the December before and a year the calendar can encode.
    if (year < 2 || year > 9999) {
        return none;
    }
    auto found = derivedByYear_.find(year);
    if (found == derivedByYear_.end()) {
        found = derivedByYear_.emplace(year, DeriveYear(year)).first;
    }
    return found->second;
}

const std::string* HolidayCalendar::DerivedHolidayOn(std::string_view dateText) const
{
    const auto dayNumber = DayNumberOfText(dateText);
    if (!dayNumber) {
        return nullptr;
    }
    const auto parts = DecodeDateTime(DateTime{static_cast<double>(*dayNumber)});
    const auto& derived = DerivedHolidaysOf(parts.year);
    const auto found = derived.find(MonthDayPart(dateText));
    return found == derived.end() ? nullptr : &found->second;
}

HolidayName HolidayCalendar::HolidayNameOf(std::string_view dateText, int year, std::size_t maxLength) const
{
    const auto mmdd = MonthDayPart(dateText);
    if (mmdd.empty()) {
        return {};
    }
    auto name = WeekdayRuleName(mmdd, year);
    if (name.empty()) {
        name = holidayList_.Value(mmdd);
    }
    if (name.empty() || HasMarker(name)) {
        if (const auto* derived = DerivedHolidayOn(dateText)) {
            name = *derived;
        }
    }
    if (name.empty()) {
        return {};
    }
    // A marked name is cut to `maxLength` bytes, never in the middle of a character.
    switch (name.front()) {
    case '$':
        return {std::string(WholeCharacters(std::string_view(name).substr(1), maxLength)), HolidayKind::Marked};
    case '&':
        return {std::string(WholeCharacters(std::string_view(name).substr(1), maxLength)), HolidayKind::SecondMarked};
    default:
        break;
    }
    const auto kind =
        IsCp932LeadByte(static_cast<unsigned char>(name.front())) ? HolidayKind::Ordinary : HolidayKind::Plain;
    return {std::move(name), kind};
}

int HolidayCalendar::HolidayCountOf(std::string_view dateText, int year) const
{
    const auto mmdd = MonthDayPart(dateText);
    if (year < 1900 || mmdd.empty()) {
        return 0;
    }
    int count = 0;
    for (const auto& entry : holidayList_.Entries()) {
        const auto key = NameValueList::NameOf(entry);
        if (!key.empty() && RuleDateOf(key, year) == mmdd) {
            ++count;
        }
    }
    if (DerivedHolidayOn(dateText) != nullptr) {
        ++count;
    }
    return count;
}

std::string HolidayCalendar::HolidayTextOf(std::string_view dateText) const
{
    const auto mmdd = MonthDayPart(dateText);
    if (mmdd.empty()) {
        return {};
    }
    const int year = DigitsValue(dateText.substr(0, 4)).value_or(1900);
    const std::string separator = Utf8ToCp932("、");
    std::string result;
    const auto append = [&result](std::string_view joiner, std::string_view name) {
        if (!result.empty()) {
            result.append(joiner);
        }
        result.append(name);
    };

    // Unmarked names first, in file order.
    for (const auto& line : holidayList_.Entries()) {
        if (line.empty() || HasMarker(line)) {
            continue;
        }
        if (RuleDateOf(NameValueList::NameOf(line), year) == mmdd) {
            append(separator, NameValueList::ValueOf(line));
        }
    }
    if (const auto* derived = DerivedHolidayOn(dateText); derived != nullptr && !derived->empty()) {
        append(",", *derived);
    }
    // Marked names last, each without its first character (the marker).
    for (const auto& line : holidayList_.Entries()) {
        if (line.empty() || !HasMarker(line)) {
            continue;
        }
        const auto value = NameValueList::ValueOf(line);
        if (RuleDateOf(NameValueList::NameOf(line), year) == mmdd) {
            append(separator, value.empty() ? value : value.substr(1));
        }
    }
    return result;
}

}  // namespace dolvane
