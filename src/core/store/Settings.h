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

// The seven values that survive between runs, each stored under its own key:
// "tododel", "tabalm", "tabsub", "bigsml", "sevenchg", "barcolor", "wakucolor" (this order).
struct Settings {
    int KeepDays = 7;  // days a completed to-do is kept before the purge offers to delete it, 0-60
    TabPosition MainTabPosition = TabPosition::Top;
    TabPosition CategoryTabPosition = TabPosition::Bottom;
    bool CaseSensitiveSearch = true;
    bool WeekStepSeven = false;
    std::uint32_t BarFillColor = 255;     // 0x00BBGGRR: red
    std::uint32_t BarFrameColor = 32768;  // 0x00BBGGRR: green

    friend bool operator==(const Settings&, const Settings&) = default;
};

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
std::vector<std::string> LoadHolidayLines(const std::filesystem::path& path);

// The settings in "data.ini"; the defaults when it is missing, and also when it cannot be read
// (then `error` says why).
Settings ReadDataIni(const std::filesystem::path& path, FileError& error);

// Stores the settings in "data.ini", keeping everything else the file holds. An existing file
// that cannot be read is left alone.
bool WriteDataIni(const std::filesystem::path& path, const Settings& settings, FileError& error);

}  // namespace dolvane
