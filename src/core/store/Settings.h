#pragma once

#include "core/store/FileIo.h"
#include "core/store/IniFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// How a setting is stored: a number kept in its range, a flag stored as 0 or 1, or a colour whose
// top byte has no meaning and is dropped so the 0x00BBGGRR form holds.
enum class SettingKind { Integer, Flag, Colour };

// One stored setting: its key in either store, how it is stored, its range, and its field.
struct StoredSetting {
    std::string_view key;
    SettingKind kind;
    SettingRange range;
    // An absent key sets the default instead of keeping the current value.
    bool defaultWhenAbsent;
    std::int32_t (*get)(const Settings&);
    void (*set)(Settings&, std::int32_t);
};

// Every setting in the order they are read and written. Reading, writing, the settings dialog and
// the keeping period's spinner all go through this table.
inline constexpr StoredSetting kSettingTable[] = {
    {"tododel", SettingKind::Integer, kKeepDaysRange, true, [](const Settings& s) { return s.KeepDays; },
     [](Settings& s, std::int32_t v) { s.KeepDays = v; }},
    {"tabalm", SettingKind::Integer, kMainTabPositionRange, false,
     [](const Settings& s) { return static_cast<std::int32_t>(s.MainTabPosition); },
     [](Settings& s, std::int32_t v) { s.MainTabPosition = static_cast<TabPosition>(v); }},
    {"tabsub", SettingKind::Integer, kCategoryTabPositionRange, false,
     [](const Settings& s) { return static_cast<std::int32_t>(s.CategoryTabPosition); },
     [](Settings& s, std::int32_t v) { s.CategoryTabPosition = static_cast<TabPosition>(v); }},
    {"bigsml", SettingKind::Flag, kFlagRange, false,
     [](const Settings& s) { return static_cast<std::int32_t>(s.CaseSensitiveSearch); },
     [](Settings& s, std::int32_t v) { s.CaseSensitiveSearch = v != 0; }},
    {"sevenchg", SettingKind::Flag, kFlagRange, false,
     [](const Settings& s) { return static_cast<std::int32_t>(s.WeekStepSeven); },
     [](Settings& s, std::int32_t v) { s.WeekStepSeven = v != 0; }},
    {"barcolor", SettingKind::Colour, kColourRange, false,
     [](const Settings& s) { return static_cast<std::int32_t>(s.BarFillColor); },
     [](Settings& s, std::int32_t v) { s.BarFillColor = static_cast<std::uint32_t>(v); }},
    {"wakucolor", SettingKind::Colour, kColourRange, false,
     [](const Settings& s) { return static_cast<std::int32_t>(s.BarFrameColor); },
     [](Settings& s, std::int32_t v) { s.BarFrameColor = static_cast<std::uint32_t>(v); }},
};

// The entry of a key, or none.
const StoredSetting* StoredSettingOf(std::string_view key);

// A number read or typed for a setting, as the setting can hold it.
std::int32_t SettingValueIn(const StoredSetting& setting, std::int32_t stored);

// Every value of `values` brought into its range.
Settings ClampSettings(Settings values);

// Where the settings live: "data.ini" next to the program, or the sibling program's per-user
// store when the program is installed inside its folder. An absent value is nullopt.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The sibling's store belongs to the sibling: it is opened, never created, so it may be absent.
    virtual bool IsOpen() const = 0;
    virtual std::optional<std::int32_t> ReadInteger(std::string_view key) const = 0;
    virtual std::optional<bool> ReadBool(std::string_view key) const = 0;
    virtual bool WriteInteger(std::string_view key, std::int32_t value) = 0;
    virtual bool WriteBool(std::string_view key, bool value) = 0;
};

// The "data.ini" layout: every key is a section of its own holding one entry "Value", integers in
// decimal and booleans as "1" or "0".
class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(IniFile file = {}) : file_(std::move(file)) {}

    bool IsOpen() const override { return true; }
    // An entry that is there but not a number reads as 0, and as 7 for "tododel".
    std::optional<std::int32_t> ReadInteger(std::string_view key) const override;
    // Any number but 0 is true; an entry that is not a number is false.
    std::optional<bool> ReadBool(std::string_view key) const override;
    bool WriteInteger(std::string_view key, std::int32_t value) override;
    bool WriteBool(std::string_view key, bool value) override;

    const IniFile& File() const noexcept { return file_; }

private:
    std::optional<std::string> StoredText(std::string_view setting) const;
    bool StoreText(std::string_view setting, std::string_view text);

    IniFile file_;
};

// Each value the store holds replaces the one in `current`; an absent one keeps it, except that an
// absent "tododel" means 7. A store that is not open changes nothing.
Settings ReadSettings(const SettingsStore& store, Settings current);

// Writes all seven values; false when the store is not open (nothing written) or a write failed.
bool WriteSettings(SettingsStore& store, const Settings& settings);

// The cp932 lines of the holiday file, read when the settings come from the sibling's store.
// A missing or unreadable file gives no lines.
std::vector<std::string> LoadHolidayLines(FileSystem& files, const std::filesystem::path& path);

// The seven settings in "data.ini"; the defaults when it is missing, and also when it cannot be read
// (then `error` says why). `Reminders` is the switch an earlier version kept there, or on.
Settings ReadDataIni(FileSystem& files, const std::filesystem::path& path, FileError& error);

// Stores the seven settings in "data.ini", keeping everything else the file holds. An existing
// file that cannot be read is left alone. `dropReminders` removes the section an earlier version
// kept the reminders switch in, once it is safe in the program's state file.
bool WriteDataIni(FileSystem& files, const std::filesystem::path& path, const Settings& settings, bool dropReminders,
                  FileError& error);

}  // namespace dolvane
