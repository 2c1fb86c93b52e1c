#include "core/store/Settings.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;

const std::string defaultDataIni = "[tododel]\r\nValue=7\r\n[tabalm]\r\nValue=0\r\n[tabsub]\r\nValue=1\r\n"
                                   "[bigsml]\r\nValue=1\r\n[sevenchg]\r\nValue=0\r\n[barcolor]\r\nValue=255\r\n"
                                   "[wakucolor]\r\nValue=32768\r\n";

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ =
            std::filesystem::temp_directory_path() / ("dolvane-settings-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void Write(const std::filesystem::path& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string Read(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path folder_;
};

TEST_F(SettingsFileTest, FirstRunGivesTheDefaultsAndWritesSevenSections)
{
    FileError error;
    const auto settings = ReadDataIni(folder_ / "data.ini", error);
    EXPECT_EQ(settings, Settings{});
    ASSERT_TRUE(WriteDataIni(folder_ / "data.ini", settings, error)) << error.message;
    EXPECT_EQ(Read(folder_ / "data.ini"), defaultDataIni);
}

TEST_F(SettingsFileTest, OneSectionChangesOneSettingAndOtherContentSurvives)
{
    const auto path = folder_ / "data.ini";
    Write(path, "[tabalm]\r\nValue=2\r\n");
    FileError error;
    auto settings = ReadDataIni(path, error);
    Settings expected;
    expected.MainTabPosition = TabPosition::Left;
    EXPECT_EQ(settings, expected);

    const std::string foreign = Sj("; ユーザーのメモ ･\r\n[窓]\r\n幅=640\r\n\r\n");
    Write(path, foreign + "[tabalm]\r\nValue=2\r\n");
    settings.KeepDays = 30;
    settings.MainTabPosition = TabPosition::Bottom;
    ASSERT_TRUE(WriteDataIni(path, settings, error)) << error.message;
    EXPECT_EQ(Read(path), foreign + "[tabalm]\r\nValue=1\r\n[tododel]\r\nValue=30\r\n" +
                              defaultDataIni.substr(defaultDataIni.find("[tabsub]")));
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
        {"tododel", "0", {.KeepDays = 0}},
        {"tabalm", "7", {.MainTabPosition = TabPosition::Right}},
        {"tabsub", "2", {.CategoryTabPosition = TabPosition::Bottom}},
        {"tabsub", "x", {.CategoryTabPosition = TabPosition::Top}},  // not a number: 0
        {"barcolor", "", {.BarFillColor = 0}},
        {"wakucolor", "-1", {.BarFrameColor = 0x00FFFFFF}},
        {"bigsml", "0", {.CaseSensitiveSearch = false}},
        {"bigsml", "abc", {.CaseSensitiveSearch = false}},
        {"sevenchg", "1", {.WeekStepSeven = true}},
        {"sevenchg", "2", {.WeekStepSeven = true}},  // any number but 0 is true
        {"sevenchg", "-1", {.WeekStepSeven = true}},
    };
    for (const auto& c : cases) {
        IniFile file;
        file.SetValue(c.section, "Value", c.value);
        EXPECT_EQ(ReadSettings(IniSettingsStore(file), Settings{}), c.expected) << c.section << "=" << c.value;
    }
}

TEST_F(SettingsFileTest, UnreadableFileIsNeitherReadNorReplaced)
{
    FileError error;
    EXPECT_EQ(ReadDataIni(folder_, error), Settings{});
    EXPECT_FALSE(error.message.empty());
    EXPECT_FALSE(WriteDataIni(folder_, Settings{}, error));
    EXPECT_TRUE(std::filesystem::is_directory(folder_));
}

TEST_F(SettingsFileTest, HolidayLinesAreKeptAsCp932Bytes)
{
    EXPECT_TRUE(LoadHolidayLines(folder_ / "NationalHoliday.txt").empty());
    Write(folder_ / "NationalHoliday.txt", Sj("01/01=元日\r\n表=ﾋｮｳ･\r\r\n") + "05/05=" + Sj("こどもの日"));
    EXPECT_EQ(LoadHolidayLines(folder_ / "NationalHoliday.txt"),
              (std::vector<std::string>{Sj("01/01=元日"), Sj("表=ﾋｮｳ･"), "", Sj("05/05=こどもの日")}));
}

// Stands in for the sibling's per-user store.
class FakeStore final : public SettingsStore {
public:
    bool IsOpen() const override { return open; }
    std::optional<std::int32_t> ReadInteger(std::string_view key) const override { return Find(key); }
    std::optional<bool> ReadBool(std::string_view key) const override
    {
        const auto value = Find(key);
        return value ? std::optional<bool>(*value != 0) : std::nullopt;
    }
    bool WriteInteger(std::string_view key, std::int32_t value) override
    {
        writes.emplace_back(std::string(key), std::to_string(value));
        return true;
    }
    bool WriteBool(std::string_view key, bool value) override
    {
        writes.emplace_back(std::string(key), value ? "true" : "false");
        return true;
    }

    bool open = true;
    std::map<std::string, std::int32_t, std::less<>> values;
    std::vector<std::pair<std::string, std::string>> writes;

private:
    std::optional<std::int32_t> Find(std::string_view key) const
    {
        const auto found = values.find(key);
        return found == values.end() ? std::nullopt : std::optional<std::int32_t>(found->second);
    }
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
