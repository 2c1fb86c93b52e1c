#pragma once

// The settings as values, with nothing of how they are stored: the settings dialog's port speaks
// in them, so this header includes no other header of core.
#include <cstdint>

namespace dolvane {

// Where a tab bar sits, numbered as stored. The category tabs use only Top and Bottom.
enum class TabPosition : std::int32_t { Top = 0, Bottom = 1, Left = 2, Right = 3 };

// The default of a setting and the range a stored or typed number is brought into: the window
// can only follow values in range (a hand-edited 999 days or tab position 7 would break the
// spinner or the tab bar).
struct SettingRange {
    std::int32_t defaultValue;
    std::int32_t minimum;
    std::int32_t maximum;

    constexpr std::int32_t Clamp(std::int64_t value) const noexcept
    {
        return static_cast<std::int32_t>(value < minimum ? minimum : value > maximum ? maximum : value);
    }
};

inline constexpr SettingRange kKeepDaysRange{7, 0, 60};
inline constexpr SettingRange kMainTabPositionRange{0, 0, 3};
inline constexpr SettingRange kCategoryTabPositionRange{1, 0, 1};
inline constexpr SettingRange kFlagRange{0, 0, 1};
inline constexpr SettingRange kColourRange{0, 0, 0x00FFFFFF};

// The values that survive between runs. `kSettingTable` says how the seven shared with the sibling's
// store are stored; `Reminders` lives in the program's own state file (core/store/ProgramState.h).
struct Settings {
    int KeepDays = kKeepDaysRange.defaultValue;  // days a completed to-do is kept before the purge offers to delete it
    TabPosition MainTabPosition = static_cast<TabPosition>(kMainTabPositionRange.defaultValue);
    TabPosition CategoryTabPosition = static_cast<TabPosition>(kCategoryTabPositionRange.defaultValue);
    bool CaseSensitiveSearch = true;
    bool WeekStepSeven = false;
    std::uint32_t BarFillColor = 255;     // 0x00BBGGRR: red
    std::uint32_t BarFrameColor = 32768;  // 0x00BBGGRR: green
    bool Reminders = true;                // desktop notifications of warning periods and deadlines

    friend bool operator==(const Settings&, const Settings&) = default;
};

}  // namespace dolvane
