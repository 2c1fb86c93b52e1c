#include "core/store/Settings.h"

#include "support/Sjis.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace dolvane {
namespace {

using test::ReadBytes;
using test::Sj;
using test::WriteBytes;

const std::string defaultDataIni = "[tododel]\r\nValue=7\r\n[tabalm]\r\nValue=0\r\n[tabsub]\r\nValue=1\r\n"
                                   "[bigsml]\r\nValue=1\r\n[sevenchg]\r\nValue=0\r\n[barcolor]\r\nValue=255\r\n"
                                   "[wakucolor]\r\nValue=32768\r\n";

TEST(SettingsFileTest, FirstRunGivesTheDefaultsAndWritesSevenSections)
{
    const test::TempFolder folder;
    FileError error;
    const auto settings = ReadDataIni(folder / "data.ini", error);
    EXPECT_EQ(settings, Settings{});
    ASSERT_TRUE(WriteDataIni(folder / "data.ini", settings, error)) << error.message;
    EXPECT_EQ(ReadBytes(folder / "data.ini"), defaultDataIni);
}

TEST(SettingsFileTest, OneSectionChangesOneSettingAndOtherContentSurvives)
{
    const test::TempFolder folder;
    const auto path = folder / "data.ini";
    WriteBytes(path, "[tabalm]\r\nValue=2\r\n");
    FileError error;
    auto settings = ReadDataIni(path, error);
    Settings expected;
    expected.MainTabPosition = TabPosition::Left;
    EXPECT_EQ(settings, expected);

    const std::string foreign = Sj("; ユーザーのメモ ･\r\n[窓]\r\n幅=640\r\n\r\n");
    WriteBytes(path, foreign + "[tabalm]\r\nValue=2\r\n");
    settings.KeepDays = 30;
    settings.MainTabPosition = TabPosition::Bottom;
    ASSERT_TRUE(WriteDataIni(path, settings, error)) << error.message;
    EXPECT_EQ(ReadBytes(path), foreign + "[tabalm]\r\nValue=1\r\n[tododel]\r\nValue=30\r\n" +
                                   defaultDataIni.substr(defaultDataIni.find("[tabsub]")));
}

TEST(SettingsFileTest, UnreadableFileIsNeitherReadNorReplaced)
{
    const test::TempFolder folder;
    FileError error;
    EXPECT_EQ(ReadDataIni(folder.Path(), error), Settings{});
    EXPECT_FALSE(error.message.empty());
    EXPECT_FALSE(WriteDataIni(folder.Path(), Settings{}, error));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path()));
}

TEST(SettingsFileTest, HolidayLinesAreKeptAsCp932Bytes)
{
    const test::TempFolder folder;
    const auto path = folder / "NationalHoliday.txt";
    EXPECT_TRUE(LoadHolidayLines(path).empty());
    WriteBytes(path, Sj("01/01=元日\r\n表=ﾋｮｳ･\r\r\n05/05=こどもの日"));
    EXPECT_EQ(LoadHolidayLines(path),
              (std::vector<std::string>{Sj("01/01=元日"), Sj("表=ﾋｮｳ･"), "", Sj("05/05=こどもの日")}));
}

TEST(IniSettingsStoreTest, StoredTextsAreReadDefensively)
{
    const struct {
        std::string section;
        std::string value;
        Settings expected;
    } cases[] = {
        {"tododel", "abc", {}},                // not a number: 7, as if absent
        {"tododel", "999", {.KeepDays = 60}},  // beyond the spinner's range
        {"tododel", "-3", {.KeepDays = 0}},
        {"tabalm", "7", {.MainTabPosition = TabPosition::Right}},
        {"tabsub", "2", {.CategoryTabPosition = TabPosition::Bottom}},
        {"tabsub", "x", {.CategoryTabPosition = TabPosition::Top}},  // not a number: 0
        {"barcolor", "", {.BarFillColor = 0}},
        {"wakucolor", "-1", {.BarFrameColor = 0x00FFFFFF}},
        {"bigsml", "abc", {.CaseSensitiveSearch = false}},
        {"sevenchg", "2", {.WeekStepSeven = true}},  // any number but 0 is true
        {"sevenchg", "-1", {.WeekStepSeven = true}},
    };
    for (const auto& c : cases) {
        IniFile file;
        file.SetValue(c.section, "Value", c.value);
        EXPECT_EQ(ReadSettings(IniSettingsStore(file), Settings{}), c.expected) << c.section << "=" << c.value;
    }
}

class FakeStore final : public SettingsStore {
public:
    bool IsOpen() const override { return open; }
    std::optional<std::int32_t> ReadInteger(std::string_view key) const override
    {
        const auto found = values.find(key);
        return found == values.end() ? std::nullopt : std::optional<std::int32_t>(found->second);
    }
    std::optional<bool> ReadBool(std::string_view key) const override
    {
        const auto value = ReadInteger(key);
        return value ? std::optional<bool>(*value != 0) : std::nullopt;
    }
    bool WriteInteger(std::string_view key, std::int32_t) override
    {
        writes.emplace_back(key);
        return true;
    }
    bool WriteBool(std::string_view key, bool) override
    {
        writes.emplace_back(key);
        return true;
    }

    bool open = true;
    std::map<std::string, std::int32_t, std::less<>> values;
    std::vector<std::string> writes;
};

TEST(SettingsStoreTest, AbsentValuesKeepTheCurrentSettingsButKeepDaysFallsBackToSeven)
{
    const Settings current{.KeepDays = 30, .MainTabPosition = TabPosition::Right, .BarFillColor = 0x123456};
    FakeStore store;
    store.values = {{"sevenchg", 1}, {"wakucolor", 0xFF0000}};
    Settings expected = current;
    expected.KeepDays = 7;
    expected.WeekStepSeven = true;
    expected.BarFrameColor = 0xFF0000;
    EXPECT_EQ(ReadSettings(store, current), expected);
}

TEST(SettingsStoreTest, ClosedStoreChangesNothingAndStoresNothing)
{
    FakeStore store;
    store.open = false;
    store.values = {{"tododel", 3}, {"tabalm", 2}};
    const Settings current{.KeepDays = 30};
    EXPECT_EQ(ReadSettings(store, current), current);
    EXPECT_FALSE(WriteSettings(store, current));
    EXPECT_TRUE(store.writes.empty());
}

}  // namespace
}  // namespace dolvane
