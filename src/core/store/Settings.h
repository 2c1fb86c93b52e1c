#pragma once

#include "core/ports/SettingsStore.h"
#include "core/store/FileIo.h"
#include "core/store/IniFile.h"
#include "core/store/SettingValues.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dolvane {

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
