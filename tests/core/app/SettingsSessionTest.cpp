#include "support/WindowModelFixture.h"

#include "core/view/ViewFilter.h"

#include <algorithm>

namespace dolvane {
namespace {

using test::ReadBytes;
using test::Sj;
using test::WriteBytes;

class SettingsSessionTest : public test::WindowModelTest {};

// The seven settings come from data.ini, or from the sibling's store when it hosts the program.
// The sibling reads both too: the program's own settings never go there but to the state file.
TEST_F(SettingsSessionTest, SevenSettingsInDataIniOrTheSiblingsStoreTheRestInTheStateFile)
{
    const auto dataIni = paths_.ProgramFolder / "data.ini";
    const auto stateFile = SettingsSession::StateFilePath(paths_);
    const std::vector<int> widths{140, 120, 55, 60, 300, 50, 40, 90, 70, 60, 20};
    const std::string widthsLine = "[columns]\r\nValue=140,120,55,60,300,50,40,90,70,60,20\r\n";

    // An earlier version kept the switch in data.ini: it is honoured and moved over, not flipped.
    WriteBytes(dataIni, "[tabalm]\r\nValue=2\r\n[reminder]\r\nValue=0\r\n[wakucolor]\r\nValue=5\r\n");
    auto model = Make();
    EXPECT_FALSE(model->CurrentSettings().Reminders);
    EXPECT_TRUE(model->Session().ColumnWidths().empty());
    model->Session().SetColumnWidths(widths);
    EXPECT_TRUE(model->CloseQuery());
    const std::string written = ReadBytes(dataIni);
    EXPECT_EQ(written.find("reminder"), std::string::npos) << written;
    EXPECT_NE(written.find("[tabalm]\r\nValue=2\r\n[wakucolor]\r\nValue=5\r\n"), std::string::npos) << written;
    EXPECT_EQ(ReadBytes(stateFile), "[reminder]\r\nValue=0\r\n" + widthsLine);
    EXPECT_TRUE(siblingSettings_.values.empty());

    model = Make();
    EXPECT_FALSE(model->CurrentSettings().Reminders);
    EXPECT_EQ(model->Session().ColumnWidths(), widths);

    // The state file's switch wins over a data.ini [reminder] written back by an earlier version.
    WriteBytes(dataIni, "[reminder]\r\nValue=0\r\n");
    WriteBytes(stateFile, "[reminder]\r\nValue=1\r\n");
    EXPECT_TRUE(Make()->CurrentSettings().Reminders);

    // Hosted by the sibling: its store and its holiday file; the seven go back to its store, the
    // rest to the same state file, and data.ini is left alone.
    paths_ = DeriveProgramPaths(folder_.Path() / "opt/Ｖｅｌｋ/ピマロ", "aki", folder_.Path() / "opt");
    ASSERT_TRUE(paths_.InsideSiblingFolder);
    std::filesystem::create_directories(paths_.ListFilePath.parent_path());
    WriteBytes(paths_.SiblingFolder / "data/NationalHoliday.txt", "01/01=a\r\n02/11=b\r\n");
    siblingSettings_.values = {{"tododel", 14}, {"bigsml", 0}};
    model = Make();
    EXPECT_EQ(model->CurrentSettings().KeepDays, 14);
    EXPECT_FALSE(model->CurrentSettings().CaseSensitiveSearch);
    EXPECT_EQ(model->Session().HolidayList(), (std::vector<std::string>{"01/01=a", "02/11=b"}));
    EXPECT_TRUE(model->CurrentSettings().Reminders) << "no state file yet";
    Settings off = model->CurrentSettings();
    off.Reminders = false;
    model->Session().Apply(off);
    model->Session().SetColumnWidths(widths);
    EXPECT_TRUE(model->CloseQuery());
    EXPECT_EQ(siblingSettings_.values.size(), 7U);
    EXPECT_EQ(siblingSettings_.values.count("reminder"), 0U);
    EXPECT_EQ(ReadBytes(SettingsSession::StateFilePath(paths_)), "[reminder]\r\nValue=0\r\n" + widthsLine);
    EXPECT_FALSE(std::filesystem::exists(paths_.ProgramFolder / "data.ini"));
    EXPECT_FALSE(Make()->CurrentSettings().Reminders);
}

TEST_F(SettingsSessionTest, CancelInTheDialogChangesNothingOkAppliesEveryValueAndWhatFollowsThem)
{
    // Lines 0 and 1 open in category 仕事 ("ABC" and "abc" as executors), line 2 open without one.
    WriteBytes(paths_.ListFilePath, Sj("2010/05/03 09:00+=00000ABC@\\@仕事#@#a\r\n"
                                       "2010/05/03 09:00+=00000abc@\\@仕事#@#b\r\n+=00000@\\@#@#c\r\n"));
    WriteBytes(paths_.ProgramFolder / "data.ini", "[tabalm]\r\nValue=2\r\n");
    const Settings stored{.MainTabPosition = TabPosition::Left};
    const auto model = Make();
    test::NoticeRecorder recorder(prompts_);
    model->SetObserver(&recorder);
    ASSERT_TRUE(model->Tabs().ChangeMainTab(MainTab::Open));
    model->Calendar().Show(true);
    model->Calendar().CycleMode();  // three weeks
    model->Tabs().SetSearchText("abc");

    const Settings edited{.KeepDays = 7,
                          .MainTabPosition = TabPosition::Right,
                          .CategoryTabPosition = TabPosition::Top,
                          .CaseSensitiveSearch = false,
                          .WeekStepSeven = true,
                          .BarFillColor = 0x00123456,
                          .BarFrameColor = 0x00654321};
    // Cancel changes nothing and sends no notice.
    recorder.notices.clear();
    model->Session().EditInDialog();
    EXPECT_EQ(model->CurrentSettings(), stored);
    EXPECT_TRUE(recorder.notices.empty());

    prompts_.settingsAnswer = edited;
    model->Session().EditInDialog();
    ASSERT_EQ(prompts_.settingsShown.size(), 2U);
    EXPECT_EQ(prompts_.settingsShown[1], stored) << "the dialog opens on the current values";
    EXPECT_EQ(model->CurrentSettings(), edited);
    EXPECT_EQ(std::count(recorder.notices.begin(), recorder.notices.end(), "settings0"), 1)
        << "the window follows once";

    const std::string before = model->Calendar().Model().RangeStartText();
    model->Calendar().Step(true);
    EXPECT_EQ(ParseDateText(model->Calendar().Model().RangeStartText()).days - ParseDateText(before).days, 7.0)
        << "the week view now moves by seven days, not three weeks";

    ASSERT_TRUE(model->Tabs().ChangeMainTab(MainTab::Search));
    EXPECT_EQ(model->Rows().size(), 2U) << "the search now folds case: ABC and abc";

    model->SetObserver(nullptr);
}

// Each setting's range is pinned with the store's reading; here that the dialog's values and the
// keeping period's spinner go through it.
TEST_F(SettingsSessionTest, ValuesOutsideTheirRangeAreBroughtIntoIt)
{
    const auto model = Make();
    model->Session().Apply({.KeepDays = 999});
    EXPECT_EQ(model->CurrentSettings(), (Settings{.KeepDays = 60}));
    model->Session().SetKeepDays(-5);
    EXPECT_EQ(model->CurrentSettings().KeepDays, 0);
}

}  // namespace
}  // namespace dolvane
