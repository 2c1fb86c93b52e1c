#include "core/time/TimeTexts.h"

#include "core/text/Cp932Codec.h"
#include "core/text/Numbers.h"

#include <array>
#include <cstring>
#include <limits>

namespace dolvane {
namespace {

constexpr std::int32_t kSecondsPerHour = 3600;
constexpr std::int32_t kSecondsPerDay = 86'400;
constexpr std::int32_t kSecondsPerYear = 31'536'000;  // 365 days; durations have no leap years
constexpr std::int32_t kHoursPerYear = 8760;
constexpr double kHourInDays = 0.041667;

// The unit words in cp932, converted from the source's UTF-8 once.
struct Words {
    std::string minute = Utf8ToCp932("分");
    std::string hours = Utf8ToCp932("時間");
    std::string day = Utf8ToCp932("日");
    std::string year = Utf8ToCp932("年");
    std::string andWord = Utf8ToCp932("と");
    std::string waiting = Utf8ToCp932("待機");
};

const Words& TheWords()
{
    static const Words words;
    return words;
}

// "yyyy/mm/dd" at the start of `text`; -1 as the year when it is not a real date.
DateTimeParts ReadDate(std::string_view text) noexcept
{
    DateTimeParts parts;
    parts.year = -1;
    if (const auto date = ReadDateDigits(text); date && IsValidDate(date->year, date->month, date->day)) {
        parts = *date;
    }
    return parts;
}

// "hh:nn" at `position`; false when it is not a time of day.
bool ReadTime(std::string_view text, std::size_t position, DateTimeParts& parts) noexcept
{
    if (text[position + 2] != ':') {
        return false;
    }
    parts.hour = DigitsValue(text.substr(position, 2)).value_or(-1);
    parts.minute = DigitsValue(text.substr(position + 3, 2)).value_or(-1);
    return parts.hour >= 0 && parts.hour <= 23 && parts.minute >= 0 && parts.minute <= 59;
}

// Writes `value` as `width` digits ending just before `end`.
void PutDigits(char* end, int value, int width) noexcept
{
    for (int i = 0; i < width; ++i) {
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

// "yyyy/mm/dd hh:nn" built in place: the list formats a moment for every row it loads.
std::string FormatParts(const DateTimeParts& parts, bool withDate, bool withTime)
{
    if (withDate && (parts.year < 1 || parts.year > 9999)) {
        return {};
    }
    char buffer[16] = {'0', '0', '0', '0', '/', '0', '0', '/', '0', '0', ' ', '0', '0', ':', '0', '0'};
    PutDigits(buffer + 4, parts.year, 4);
    PutDigits(buffer + 7, parts.month, 2);
    PutDigits(buffer + 10, parts.day, 2);
    PutDigits(buffer + 13, parts.hour, 2);
    PutDigits(buffer + 16, parts.minute, 2);
    if (!withTime) {
        return {buffer, 10};
    }
    return withDate ? std::string(buffer, 16) : std::string(buffer + 11, 5);
}

}  // namespace

std::string FormatDateText(DateTime moment)
{
    return FormatParts(DecodeDateTime(moment), true, false);
}

std::string FormatTimeText(DateTime moment)
{
    return FormatParts(DecodeDateTime(moment), false, true);
}

std::string FormatDateTimeText(DateTime moment)
{
    return FormatParts(DecodeDateTime(moment), true, true);
}

std::optional<DateTime> DateTimeOrNothing(std::string_view text)
{
    if (text.empty()) {
        return std::nullopt;
    }
    try {
        return ParseDateTimeText(text);
    } catch (const ConvertError&) {
        return std::nullopt;
    }
}

DateTime ParseDateTimeText(std::string_view text)
{
    constexpr std::size_t kLength = 16;
    if (text.size() == kLength && text[10] == ' ') {
        // A row's texts and colour read the same few dates one after another: the last two
        // moments read are kept (an empty slot never matches, as it holds no blank at 10).
        struct Known {
            std::array<char, kLength> text{};
            DateTime moment;
        };
        thread_local std::array<Known, 2> known{};
        thread_local std::size_t oldest = 0;
        for (const Known& slot : known) {
            if (std::memcmp(slot.text.data(), text.data(), kLength) == 0) {
                return slot.moment;
            }
        }
        DateTimeParts parts = ReadDate(text);
        if (parts.year > 0 && ReadTime(text, 11, parts)) {
            Known& slot = known[oldest];
            oldest = 1 - oldest;
            std::memcpy(slot.text.data(), text.data(), kLength);
            slot.moment = EncodeDateTime(parts);
            return slot.moment;
        }
    }
    throw ConvertError(ConvertError::Kind::DateTime, text);
}

std::optional<DateTimeParts> ReadDateDigits(std::string_view text) noexcept
{
    if (text.size() < 10 || text[4] != '/' || text[7] != '/') {
        return std::nullopt;
    }
    const auto year = DigitsValue(text.substr(0, 4));
    const auto month = DigitsValue(text.substr(5, 2));
    const auto day = DigitsValue(text.substr(8, 2));
    if (!year || !month || !day) {
        return std::nullopt;
    }
    DateTimeParts parts;
    parts.year = *year;
    parts.month = *month;
    parts.day = *day;
    return parts;
}

DateTime ParseDateText(std::string_view text)
{
    if (text.size() == 10) {
        const DateTimeParts parts = ReadDate(text);
        if (parts.year > 0) {
            return EncodeDateTime(parts);
        }
    }
    throw ConvertError(ConvertError::Kind::Date, text);
}

DateTime ParseTimeText(std::string_view text)
{
    DateTimeParts parts;
    if (text.size() == 5 && ReadTime(text, 0, parts)) {
        return DateTime{(parts.hour * 60 + parts.minute) / 1440.0};
    }
    throw ConvertError(ConvertError::Kind::Time, text);
}

std::int32_t DiffSeconds(DateTime a, DateTime b) noexcept
{
    const std::int64_t difference = UnixSecondsOf(a) - UnixSecondsOf(b);
    constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(difference < lowest ? lowest : difference > highest ? highest : difference);
}

std::string DurationText(DateTime later, DateTime earlier)
{
    const Words& words = TheWords();
    const std::int32_t seconds = DiffSeconds(later, earlier);
    std::string text;
    if (seconds < 0) {
        text = "over";
    } else if (seconds < kSecondsPerHour) {
        AppendNumber(text, seconds / 60, 2);
        text += words.minute;
    } else if (seconds > kSecondsPerYear) {
        AppendNumber(text, seconds / kSecondsPerYear, 2);
        text += words.year;
    } else if (seconds > kSecondsPerDay) {
        AppendNumber(text, seconds / kSecondsPerDay);
        text += words.day;
        const std::int32_t hours = seconds % kSecondsPerDay / kSecondsPerHour;
        if (hours > 0) {
            AppendNumber(text, hours);
            text += words.hours;
        }
    } else {
        AppendNumber(text, seconds / kSecondsPerHour, 2);
        text += ':';
        AppendNumber(text, seconds % kSecondsPerHour / 60, 2);
        text += words.minute;
    }
    return text;
}

std::string RemainingTimeText(std::string_view deadlineText, DateTime now)
{
    if (deadlineText.empty()) {
        return {};
    }
    return DurationText(ParseDateTimeText(deadlineText), now);
}

std::string ElapsedTimeText(std::string_view startText, DateTime now)
{
    if (startText.empty()) {
        return {};
    }
    const DateTime start = ParseDateTimeText(startText);
    if (start > now) {
        return TheWords().waiting;
    }
    return DurationText(now, start);
}

std::string WarningPeriodText(std::int32_t hours)
{
    const Words& words = TheWords();
    std::string text;
    if (hours < 1) {
        return text;
    }
    if (hours < 24) {
        AppendNumber(text, hours);
        text += words.hours;
        return text;
    }
    std::int32_t rest = hours;
    if (hours >= kHoursPerYear) {
        AppendNumber(text, hours / kHoursPerYear);
        text += words.year;
        rest = hours % kHoursPerYear;
        if (rest / 24 > 0) {
            text += words.andWord;
            AppendNumber(text, rest / 24);
            text += words.day;
        }
    } else {
        AppendNumber(text, hours / 24);
        text += words.day;
    }
    if (rest % 24 > 0) {
        text += words.andWord;
        AppendNumber(text, rest % 24);
        text += words.hours;
    }
    return text;
}

DateTime WarningStartMoment(DateTime deadline, std::int32_t hours) noexcept
{
    if (hours >= 24) {
        // Whole days come off exactly; only the odd hours use the 0.041667 unit.
        // NOLINTNEXTLINE(bugprone-integer-division): the whole-day count is meant
        return DateTime{deadline.days - static_cast<double>(hours / 24) - (hours % 24) * kHourInDays};
    }
    if (hours >= 1) {
        return DateTime{deadline.days - hours * kHourInDays};
    }
    return deadline;
}

std::string ElapsedRateText(DateTime start, DateTime deadline, DateTime now)
{
    const std::int64_t planned = DiffSeconds(deadline, start);
    if (planned == 0) {
        return {};
    }
    const std::int64_t elapsed = DiffSeconds(now, start);
    return std::to_string(elapsed * 100 / planned) + '%';
}

std::int32_t WarningHoursOf(std::string_view text) noexcept
{
    return ParseInt32(text).value_or(0);
}

}  // namespace dolvane
