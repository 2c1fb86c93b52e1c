#include "core/store/Settings.h"

#include "core/store/ProgramState.h"
#include "core/text/Numbers.h"

#include <algorithm>

namespace dolvane {
namespace {

constexpr std::string_view entryName = "Value";

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
    // Like the classic INI reader: text that is not a number gives the setting's fall-back when
    // it has one, else 0.
    const StoredSetting* setting = StoredSettingOf(key);
    return ParseInt32(*text).value_or(setting != nullptr && setting->defaultWhenAbsent ? setting->range.defaultValue
                                                                                       : 0);
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

const StoredSetting* StoredSettingOf(std::string_view key)
{
    for (const StoredSetting& setting : kSettingTable) {
        if (setting.key == key) {
            return &setting;
        }
    }
    return nullptr;
}

std::int32_t SettingValueIn(const StoredSetting& setting, std::int32_t stored)
{
    switch (setting.kind) {
    case SettingKind::Flag:
        return stored != 0 ? 1 : 0;
    case SettingKind::Colour:
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(stored) & 0x00FFFFFFu);
    case SettingKind::Integer:
        break;
    }
    return setting.range.Clamp(stored);
}

Settings ClampSettings(Settings values)
{
    for (const StoredSetting& setting : kSettingTable) {
        setting.set(values, SettingValueIn(setting, setting.get(values)));
    }
    return values;
}

Settings ReadSettings(const SettingsStore& store, Settings current)
{
    if (!store.IsOpen()) {
        return current;
    }
    for (const StoredSetting& setting : kSettingTable) {
        std::optional<std::int32_t> stored;
        if (setting.kind == SettingKind::Flag) {
            if (const auto flag = store.ReadBool(setting.key)) {
                stored = *flag ? 1 : 0;
            }
        } else {
            stored = store.ReadInteger(setting.key);
        }
        if (stored) {
            setting.set(current, SettingValueIn(setting, *stored));
        } else if (setting.defaultWhenAbsent) {
            setting.set(current, setting.range.defaultValue);
        }
    }
    return current;
}

bool WriteSettings(SettingsStore& store, const Settings& settings)
{
    if (!store.IsOpen()) {
        return false;
    }
    // Every write is attempted even after one fails, so one bad value does not lose the others.
    bool written = true;
    for (const StoredSetting& setting : kSettingTable) {
        const std::int32_t value = setting.get(settings);
        written = (setting.kind == SettingKind::Flag ? store.WriteBool(setting.key, value != 0)
                                                     : store.WriteInteger(setting.key, value)) &&
                  written;
    }
    return written;
}

std::vector<std::string> LoadHolidayLines(FileSystem& files, const std::filesystem::path& path)
{
    FileError ignored;
    const auto contents = files.ReadWholeFile(path, ignored);
    std::vector<std::string> lines;
    if (contents) {
        for (const auto line : SplitLines(contents->bytes)) {
            lines.emplace_back(line);
        }
    }
    return lines;
}

Settings ReadDataIni(FileSystem& files, const std::filesystem::path& path, FileError& error)
{
    auto file = IniFile::Load(files, path, error);
    if (!file) {
        return Settings{};
    }
    const IniSettingsStore store(std::move(*file));
    Settings settings = ReadSettings(store, Settings{});
    if (const auto reminders = store.ReadBool(kReminderSection)) {
        settings.Reminders = *reminders;
    }
    return settings;
}

bool WriteDataIni(FileSystem& files, const std::filesystem::path& path, const Settings& settings, bool dropReminders,
                  FileError& error)
{
    auto file = IniFile::Load(files, path, error);
    if (!file) {
        return false;
    }
    IniSettingsStore store(std::move(*file));
    WriteSettings(store, settings);
    IniFile written = store.File();
    if (dropReminders) {
        written.RemoveSection(kReminderSection);
    }
    return written.Save(files, path, error);
}

}  // namespace dolvane
