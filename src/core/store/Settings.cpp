#include "core/store/Settings.h"

#include "core/text/Numbers.h"

#include <algorithm>

namespace dolvane {
namespace {

constexpr std::string_view entryName = "Value";
constexpr std::string_view keepDaysKey = "tododel";
constexpr int defaultKeepDays = 7;
constexpr int maxKeepDays = 60;

// The stored number is trusted only as far as the window can follow it: a hand-edited 999 days
// or tab position 7 is brought into range instead of reaching the spinner or the tab bar.
TabPosition TabPositionIn(std::int32_t stored, TabPosition last)
{
    return static_cast<TabPosition>(std::clamp(stored, 0, static_cast<std::int32_t>(last)));
}

// The top byte of a stored colour has no meaning here; dropping it keeps the 0x00BBGGRR form.
std::uint32_t ColorFrom(std::int32_t stored)
{
    return static_cast<std::uint32_t>(stored) & 0x00FFFFFFu;
}

}  // namespace

// Every setting is a section of its own, named after the setting, holding one entry "Value".
std::optional<std::string> IniSettingsStore::StoredText(std::string_view setting) const
{
    const std::string_view section = setting;
    return file_.Value(section, entryName);
}

std::optional<std::int32_t> IniSettingsStore::ReadInteger(std::string_view key) const
{
    const auto text = StoredText(key);
    if (!text) {
        return std::nullopt;
    }
    return ParseInt32(*text).value_or(key == keepDaysKey ? defaultKeepDays : 0);
}

std::optional<bool> IniSettingsStore::ReadBool(std::string_view key) const
{
    const auto text = StoredText(key);
    if (!text) {
        return std::nullopt;
    }
    return ParseInt32(*text).value_or(0) != 0;
}

bool IniSettingsStore::WriteInteger(std::string_view key, std::int32_t value)
{
    return StoreText(key, std::to_string(value));
}

bool IniSettingsStore::WriteBool(std::string_view key, bool value)
{
    return StoreText(key, value ? "1" : "0");
}

bool IniSettingsStore::StoreText(std::string_view setting, std::string_view text)
{
    const std::string_view section = setting;
    file_.SetValue(section, entryName, text);
    return true;
}

Settings ReadSettings(const SettingsStore& store, Settings current)
{
    if (!store.IsOpen()) {
        return current;
    }
    current.KeepDays = std::clamp(store.ReadInteger(keepDaysKey).value_or(defaultKeepDays), 0, maxKeepDays);
    if (const auto value = store.ReadInteger("tabalm")) {
        current.MainTabPosition = TabPositionIn(*value, TabPosition::Right);
    }
    if (const auto value = store.ReadInteger("tabsub")) {
        current.CategoryTabPosition = TabPositionIn(*value, TabPosition::Bottom);
    }
    current.CaseSensitiveSearch = store.ReadBool("bigsml").value_or(current.CaseSensitiveSearch);
    current.WeekStepSeven = store.ReadBool("sevenchg").value_or(current.WeekStepSeven);
    if (const auto value = store.ReadInteger("barcolor")) {
        current.BarFillColor = ColorFrom(*value);
    }
    if (const auto value = store.ReadInteger("wakucolor")) {
        current.BarFrameColor = ColorFrom(*value);
    }
    return current;
}

bool WriteSettings(SettingsStore& store, const Settings& settings)
{
    if (!store.IsOpen()) {
        return false;
    }
    // Every write is attempted even after one fails, so one bad value does not lose the others.
    bool written = store.WriteInteger(keepDaysKey, settings.KeepDays);
    written = store.WriteInteger("tabalm", static_cast<std::int32_t>(settings.MainTabPosition)) && written;
    written = store.WriteInteger("tabsub", static_cast<std::int32_t>(settings.CategoryTabPosition)) && written;
    written = store.WriteBool("bigsml", settings.CaseSensitiveSearch) && written;
    written = store.WriteBool("sevenchg", settings.WeekStepSeven) && written;
    written = store.WriteInteger("barcolor", static_cast<std::int32_t>(settings.BarFillColor)) && written;
    written = store.WriteInteger("wakucolor", static_cast<std::int32_t>(settings.BarFrameColor)) && written;
    return written;
}

std::vector<std::string> LoadHolidayLines(const std::filesystem::path& path)
{
    FileError ignored;
    const auto contents = ReadWholeFile(path, ignored);
    std::vector<std::string> lines;
    if (contents) {
        for (const auto line : SplitLines(contents->bytes)) {
            lines.emplace_back(line);
        }
    }
    return lines;
}

Settings ReadDataIni(const std::filesystem::path& path, FileError& error)
{
    auto file = IniFile::Load(path, error);
    if (!file) {
        return Settings{};
    }
    return ReadSettings(IniSettingsStore(std::move(*file)), Settings{});
}

bool WriteDataIni(const std::filesystem::path& path, const Settings& settings, FileError& error)
{
    auto file = IniFile::Load(path, error);
    if (!file) {
        return false;
    }
    IniSettingsStore store(std::move(*file));
    WriteSettings(store, settings);
    return store.File().Save(path, error);
}

}  // namespace dolvane
