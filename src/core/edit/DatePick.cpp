#include "core/edit/DatePick.h"

#include "core/time/TimeTexts.h"

#include <array>

namespace dolvane {
namespace {

// Where the month items and the year item sit in the drop-down; the four before them are a day and weeks.
constexpr int kFirstMonth = 4;  // "1ヶ月"
constexpr int kLastMonth = 14;  // "11ヶ月"
constexpr int kYear = 15;       // "1年"; "なし" (16) follows with no hours

constexpr std::int32_t kHoursPerMonth = 720;
constexpr std::int32_t kHoursPerYear = 8760;

}  // namespace

const std::vector<std::string>& PeriodPresetNames()
{
    static const std::vector<std::string> names{"1日",   "1週間",  "2週間",  "3週間", "1ヶ月", "2ヶ月",
                                                "3ヶ月", "4ヶ月",  "5ヶ月",  "6ヶ月", "7ヶ月", "8ヶ月",
                                                "9ヶ月", "10ヶ月", "11ヶ月", "1年",   "なし"};
    return names;
}

std::int32_t HoursForPeriod(int index) noexcept
{
    constexpr std::array<std::int32_t, kFirstMonth> leading{24, 168, 336, 504};
    if (index >= 0 && index < kFirstMonth) {
        return leading.at(static_cast<std::size_t>(index));
    }
    if (index >= kFirstMonth && index <= kLastMonth) {
        return kHoursPerMonth * (index - kFirstMonth + 1);
    }
    if (index == kYear) {
        return kHoursPerYear;
    }
    return 0;
}

PickStart PickerStartFor(std::string_view fieldText, DateTime now)
{
    if (fieldText.empty()) {
        return {now, now};
    }
    // Byte positions: the date is bytes 0-9 and the time bytes 11-15 of "yyyy/mm/dd hh:nn". A
    // short text hands the readers what there is, and they reject it.
    constexpr std::size_t dateLength = 10;
    constexpr std::size_t timeStart = 11;
    constexpr std::size_t timeLength = 5;
    const DateTime date = ParseDateText(fieldText.substr(0, dateLength));
    const std::string_view timeText =
        fieldText.size() > timeStart ? fieldText.substr(timeStart, timeLength) : std::string_view{};
    return {date, ParseTimeText(timeText)};
}

std::string PickedText(DateTime date, DateTime time, bool clear)
{
    if (clear) {
        return {};
    }
    return FormatDateText(date) + ' ' + FormatTimeText(time);
}

bool PickerOffersClear(std::string_view captionUtf8)
{
    return captionUtf8.find("開始") == std::string_view::npos;
}

}  // namespace dolvane
