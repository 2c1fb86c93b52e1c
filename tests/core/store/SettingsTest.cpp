#include "core/store/Settings.h"

#include "core/store/ProgramState.h"

#include "support/DiskFiles.h"
#include "support/Sjis.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;

const std::string defaultDataIni = "[tododel]\r\nValue=7\r\n[tabalm]\r\nValue=0\r\n[tabsub]\r\nValue=1\r\n[bigsml]\r\n"
                                   "Value=1\r\n[sevenchg]\r\nValue=0\r\n[barcolor]\r\nValue=255\r\n"
                                   "[wakucolor]\r\nValue=32768\r\n";

TEST(SettingsFileTest, FirstRunGivesTheDefaultsAndWritesEverySettingButNeverOverAFolder)
{
    const test::TempFolder folder;
    FileError error;
    const auto settings = ReadDataIni(test::DiskFiles(), folder / "data.ini", error);
    EXPECT_EQ(settings, Settings{});
    ASSERT_TRUE(WriteDataIni(test::DiskFiles(), folder / "data.ini", settings, true, error)) << error.message;
    EXPECT_EQ(test::ReadBytes(folder / "data.ini"), defaultDataIni);

    // A data.ini that cannot be read is neither read nor replaced.
    error.message.clear();
    EXPECT_EQ(ReadDataIni(test::DiskFiles(), folder.Path(), error), Settings{});
    EXPECT_FALSE(error.message.empty());
    EXPECT_FALSE(WriteDataIni(test::DiskFiles(), folder.Path(), Settings{}, true, error));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path()));
}

TEST(SettingsFileTest, OneSectionChangesOneSettingAndOtherContentSurvives)
{
    const test::TempFolder folder;
    const auto path = folder / "data.ini";
    test::WriteBytes(path, "[tabalm]\r\nValue=2\r\n");
    FileError error;
    auto settings = ReadDataIni(test::DiskFiles(), path, error);
    EXPECT_EQ(settings, Settings{.MainTabPosition = TabPosition::Left});

    const std::string foreign = Sj("; ユーザーのメモ ･\r\n[窓]\r\n幅=640\r\n\r\n");
    test::WriteBytes(path, foreign + "[tabalm]\r\nValue=2\r\n");
    settings.KeepDays = 30;
    settings.MainTabPosition = TabPosition::Bottom;
    ASSERT_TRUE(WriteDataIni(test::DiskFiles(), path, settings, true, error)) << error.message;
    EXPECT_EQ(test::ReadBytes(path), foreign + "[tabalm]\r\nValue=1\r\n[tododel]\r\nValue=30\r\n" +
                                         defaultDataIni.substr(defaultDataIni.find("[tabsub]")));
}

// "表" ends in 0x5C; a lone CR is part of its line.
TEST(SettingsFileTest, HolidayLinesAreKeptAsCp932Bytes)
{
    const test::TempFolder folder;
    const auto path = folder / "NationalHoliday.txt";
    EXPECT_TRUE(LoadHolidayLines(test::DiskFiles(), path).empty());
    test::WriteBytes(path, Sj("01/01=元日\r\n表=ﾋｮｳ･\r\r\n05/05=こどもの日"));
    EXPECT_EQ(LoadHolidayLines(test::DiskFiles(), path),
              (std::vector<std::string>{Sj("01/01=元日"), Sj("表=ﾋｮｳ･"), "", Sj("05/05=こどもの日")}));
}

TEST(IniSettingsStoreTest, StoredTextsAreReadDefensivelyAndAbsentOnesKeepTheCurrentSetting)
{
    const std::tuple<const char*, const char*, Settings> cases[] = {
        {"tododel", "abc", {}},                // not a number: 7, as if absent
        {"tododel", "999", {.KeepDays = 60}},  // beyond the spinner's range
        {"tododel", "-3", {.KeepDays = 0}},
        {"tabalm", "7", {.MainTabPosition = TabPosition::Right}},
        {"tabsub", "2", {.CategoryTabPosition = TabPosition::Bottom}},
        {"tabalm", "-1", {.MainTabPosition = TabPosition::Top}},
        {"tabsub", "-2", {.CategoryTabPosition = TabPosition::Top}},
        {"barcolor", "", {.BarFillColor = 0}},  // not a number: 0
        {"wakucolor", "-1", {.BarFrameColor = 0x00FFFFFF}},
        {"bigsml", "abc", {.CaseSensitiveSearch = false}},
        {"sevenchg", "2", {.WeekStepSeven = true}},  // any number but 0 is true
    };
    for (const auto& [section, value, expected] : cases) {
        IniFile file;
        file.SetValue(section, "Value", value);
        EXPECT_EQ(ReadSettings(IniSettingsStore(file), Settings{}), expected) << section << "=" << value;
    }

    // Absent values keep the current settings, but KeepDays falls back to 7. A store that is not
    // open at all leaves every setting as it is (see the sibling store's tests).
    IniFile file;
    file.SetValue("sevenchg", "Value", "1");
    Settings current{.KeepDays = 30, .MainTabPosition = TabPosition::Right, .BarFillColor = 0x123456};
    const Settings read = ReadSettings(IniSettingsStore(file), current);
    current.KeepDays = 7;
    current.WeekStepSeven = true;
    EXPECT_EQ(read, current);
}

TEST(ProgramStateTest, AHandEditedStateFileGivesAllTheWidthsOrNone)
{
    const test::TempFolder folder;
    const auto path = folder / "dolvane-state.ini";
    const std::vector<int> eleven{130, 120, 55, 60, 100, 50, 40, 50, 55, 60, 20};
    const struct {
        const char* text;
        std::optional<bool> reminders;
        std::vector<int> widths;
    } cases[] = {
        {"[columns]\r\nValue=130,120,55,60,100,50,40,50,55,60,20\r\n", std::nullopt, eleven},
        {"[COLUMNS]\r\nvalue = 130, 120,55,60,100,50,40,50,55,60,20 \r\n", std::nullopt, eleven},
        {"[columns]\r\nValue=130,120,55,60,100,50,40,50,55,60\r\n", std::nullopt, {}},  // one short
        {"[columns]\r\nValue=130,120,55,60,100,50,40,50,55,60,20,\r\n", std::nullopt, {}},
        {"[columns]\r\nValue=130,120,55,60,0,50,40,50,55,60,20\r\n", std::nullopt, {}},
        {"[columns]\r\nValue=130,120,55,60,99999,50,40,50,55,60,20\r\n", std::nullopt, {}},
        {"[reminder]\r\nValue=abc\r\n", false, {}},
        {"[reminder]\r\nValue=2\r\n", true, {}},
    };
    for (const auto& c : cases) {
        test::WriteBytes(path, c.text);
        const ProgramState state = ReadProgramState(test::DiskFiles(), path);
        EXPECT_EQ(state.reminders, c.reminders) << c.text;
        EXPECT_EQ(state.columnWidths, c.widths) << c.text;
    }
}

TEST(ProgramStateTest, TheSyncServerSurvivesTheWindowsWritesAndNeedsAUrl)
{
    const test::TempFolder folder;
    const auto path = folder / "dolvane-state.ini";
    FileError error;
    const SyncServer server{"https://dav.example/cal/", "ユーザー", "/etc/ca.pem"};
    ASSERT_TRUE(WriteProgramState(test::DiskFiles(), path, ProgramState{true, {}, server}, error)) << error.message;
    // The window writes only what it holds; the server set up by dolvane-cli stays.
    ASSERT_TRUE(WriteProgramState(test::DiskFiles(), path, ProgramState{false, {}, std::nullopt}, error))
        << error.message;
    EXPECT_EQ(ReadProgramState(test::DiskFiles(), path), (ProgramState{false, {}, server}));

    test::WriteBytes(path, "[sync]\r\nURL=\r\nUser=me\r\n");
    EXPECT_EQ(ReadProgramState(test::DiskFiles(), path).sync, std::nullopt);
}

}  // namespace
}  // namespace dolvane
