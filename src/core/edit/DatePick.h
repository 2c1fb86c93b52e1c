#pragma once

#include "core/time/DateTime.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// The preset warning periods of the panel's drop-down, in item order, as UTF-8 captions.
const std::vector<std::string>& PeriodPresetNames();

// Hours of the preset at `index` (a month counts as 30 days); 0 for "なし" and for any index that
// is no preset, such as -1 when a typed text matches none.
std::int32_t HoursForPeriod(int index) noexcept;

// Where the two pickers of the date-time dialog start. Only the day of `date` and the hours and
// minutes of `time` are meaningful.
struct PickStart {
    DateTime date;
    DateTime time;
};

// A field text "yyyy/mm/dd hh:nn" (cp932) split for the pickers; the empty text starts both at
// `now`. Throws the ConvertError of the date reader (bytes 0-9) or of the time reader (bytes
// 11-15) when that part is missing or unreadable, so the field keeps its text.
PickStart PickerStartFor(std::string_view fieldText, DateTime now);

// The field's new text after OK: "" when the user chose to clear it, else the picked day and
// time of day as "yyyy/mm/dd hh:nn".
std::string PickedText(DateTime date, DateTime time, bool clear);

// A start moment cannot be cleared, so its picker (its caption names "開始") offers no clear box.
bool PickerOffersClear(std::string_view captionUtf8);

}  // namespace dolvane
