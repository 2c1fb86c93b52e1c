// ".tod" import and export, the help page and the merge into the sibling's folder.
#include "core/app/FileCommands.h"

#include "support/WindowModelFixture.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::Sj;
using test::WriteBytes;

const std::string kListed = test::kOneLine + "\r\n";
const std::string kImported = Sj("2010/05/02 09:00+=03000@\\@#@#一つ目\r\nメモの行\r\n"
                                 "2010/05/03 09:00+=12100@\\@#@#二つ目\r\n");

class FileCommandsTest : public test::WindowModelTest {
protected:
    fs::path Tod() const { return folder_ / "saved.tod"; }
    fs::path Sibling() const { return paths_.SiblingFolder; }
};

TEST_F(FileCommandsTest, AnImportAppliedReplacesTheListAndUndoBringsItBack)
{
    WriteBytes(Tod(), kImported);
    for (const bool apply : {true, false}) {
        WriteBytes(paths_.ListFilePath, kListed);
        auto model = Make();
        prompts_.fileAnswer = Tod();
        ASSERT_TRUE(model->Files().Import());
        EXPECT_EQ(prompts_.fileChoosers.back(), "open|ToDoファイル(*.tod)|*.tod");
        ASSERT_EQ(model->Rows().size(), 2U);
        EXPECT_TRUE(model->State().UnsavedChanges && model->State().UndoAvailable);
        EXPECT_EQ(ReadBytes(paths_.ListFilePath), kListed) << "nothing is written before applying";
        if (apply) {
            ASSERT_TRUE(model->Apply());
            // The imported to-dos in their order; a line that is no to-do is kept after them, as
            // every full save keeps such lines.
            EXPECT_EQ(ReadBytes(paths_.ListFilePath), Sj("2010/05/02 09:00+=03000@\\@#@#一つ目\r\n"
                                                         "2010/05/03 09:00+=12100@\\@#@#二つ目\r\nメモの行\r\n"));
        } else {
            model->Reload();  // undo
            ASSERT_EQ(model->Rows().size(), 1U);
            EXPECT_EQ(ReadBytes(paths_.ListFilePath), kListed);
        }
    }
}

TEST_F(FileCommandsTest, AnImportThatCannotBeReadLeavesTheListAsItWas)
{
    auto model = Make();
    fs::create_directories(folder_ / "unreadable.tod");
    prompts_.fileAnswer = folder_ / "unreadable.tod";  // a folder: not a file that can be read
    EXPECT_FALSE(model->Files().Import());
    EXPECT_EQ(prompts_.errors.size(), 1U);
    ASSERT_EQ(model->Rows().size(), 1U) << "the list is shown again, never an empty list to apply";
    EXPECT_FALSE(model->State().UnsavedChanges);
}

TEST_F(FileCommandsTest, AnExportHoldsTheSavedListAndTellsTheSibling)
{
    auto model = Make();
    model->Document().Rows()[0].TaskText = "unsaved";
    model->Document().MarkChanged(true);
    prompts_.fileAnswer = Tod();
    prompts_.answer = true;  // yes, leave the unsaved change
    ASSERT_TRUE(model->Files().Export());
    EXPECT_EQ(prompts_.fileChoosers.back(), "save|tod|ToDoファイル(*.tod)|*.tod");
    EXPECT_EQ(prompts_.questions.size(), 1U);
    EXPECT_EQ(ReadBytes(Tod()), kListed);
    EXPECT_FALSE(fs::exists(folder_ / "saved.tod.lock")) << "no lock file beside an export";
    ASSERT_FALSE(sibling_.received.empty());
    EXPECT_EQ(sibling_.received.back(), (std::pair<std::uint32_t, std::string>{0, "VelkA"}));

    // No keeps the unsaved change and writes nothing.
    model->Document().Rows()[0].TaskText = "unsaved";
    model->Document().MarkChanged(true);
    prompts_.answer = false;
    fs::remove(Tod());
    EXPECT_FALSE(model->Files().Export());
    EXPECT_FALSE(fs::exists(Tod()));
    EXPECT_EQ(model->Rows()[0].TaskText, "unsaved");

    // Cancel in the chooser does nothing at all.
    prompts_.fileAnswer.reset();
    EXPECT_FALSE(model->Files().Export());
    EXPECT_FALSE(model->Files().Import());
    EXPECT_EQ(model->Rows()[0].TaskText, "unsaved");
}

// The question names what drops the edits: on "全て" no tab changes at all.
TEST_F(FileCommandsTest, TheQuestionBeforeAnImportOrAnExportNamesIt)
{
    WriteBytes(Tod(), kImported);
    const std::string importQuestion =
        "確認|ToDoファイルを読み込むと、保存していない変更内容が取り消されます。\nよろしいですか？";
    const std::string exportQuestion =
        "確認|ToDoファイルには保存済みの一覧が書き出され、保存していない変更内容は取り消されます。\nよろしいですか？";
    for (const MainTab tab : {MainTab::All, MainTab::Open}) {
        for (const bool import : {true, false}) {
            auto model = Make();
            ASSERT_TRUE(model->Tabs().ChangeMainTab(tab));
            model->Document().MarkChanged(true);
            prompts_.questions.clear();
            prompts_.fileAnswer = import ? Tod() : folder_ / "out.tod";
            prompts_.answer = false;
            EXPECT_FALSE(import ? model->Files().Import() : model->Files().Export());
            EXPECT_EQ(prompts_.questions, std::vector<std::string>{import ? importQuestion : exportQuestion})
                << static_cast<int>(tab);
        }
    }
}

TEST_F(FileCommandsTest, SaveIsOfferedOnlyWithRows)
{
    WriteBytes(paths_.ListFilePath, "");
    auto model = Make();
    EXPECT_FALSE(model->Files().ExportEnabled());
    WriteBytes(paths_.ListFilePath, kListed);
    model->Reload();
    EXPECT_TRUE(model->Files().ExportEnabled());
}

TEST_F(FileCommandsTest, TheMergeIsOfferedOnlyForAnInstalledSiblingThatDoesNotHoldTheProgram)
{
    struct Case {
        bool siblingFolder;
        bool siblingProgram;
        bool inside;
        bool visible;
    };
    const Case cases[] = {
        {true, false, false, true},  {false, false, false, false}, {true, true, false, false},
        {true, false, true, false},  {false, true, false, false},  {true, true, true, false},
        {false, false, true, false}, {false, true, true, false},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder_ / "opt");
        if (c.siblingFolder) {
            fs::create_directories(Sibling());
        }
        if (c.siblingProgram) {
            fs::create_directories(Sibling());
            WriteBytes(Sibling() / "ToDo.exe", "program");
        }
        auto model = Make();
        ProgramPaths paths = paths_;
        paths.InsideSiblingFolder = c.inside;
        ToDoDocument document(paths, DocumentPorts{clock_, prompts_, sibling_, test::DiskFiles()});
        EXPECT_EQ(FileCommands(document, model->Tabs(), model->Session()).MergeVisible(), c.visible)
            << c.siblingFolder << c.siblingProgram << c.inside;
    }
}

TEST_F(FileCommandsTest, AMergeCopiesTheProgramOnceTheListAndTheSettings)
{
    fs::create_directories(paths_.ProgramFolder / "Help");
    WriteBytes(paths_.ProgramFolder / "dolvane", "program v1");
    WriteBytes(paths_.ProgramFolder / "libCharacterConversion.so", "library");
    WriteBytes(paths_.ProgramFolder / "Help" / "Dolvane.htm", "help");
    fs::create_directories(Sibling() / "data" / "aki");
    fs::create_directories(Sibling() / "Help");
    auto model = Make();
    ASSERT_TRUE(model->Files().MergeVisible());
    ASSERT_TRUE(model->Files().Merge());

    EXPECT_EQ(ReadBytes(Sibling() / "dolvane"), "program v1");
    EXPECT_EQ(ReadBytes(Sibling() / "libCharacterConversion.so"), "library");
    EXPECT_EQ(ReadBytes(Sibling() / "Help" / "Dolvane.htm"), "help");
    EXPECT_EQ(ReadBytes(Sibling() / "data" / "aki" / "todolist.txt"), kListed);
    EXPECT_FALSE(siblingSettings_.values.empty()) << "the settings go to the sibling's store";
    ASSERT_EQ(prompts_.messages.size(), 1U);
    EXPECT_EQ(
        prompts_.messages[0],
        "ピマロとの統合が終わりました。\nDolvaneは、ピマロのタスクトレイアイコンのメニューから開くことができます。\n"
        "尚、現在ご使用のDolvaneは、フォルダごと削除して下さい");
    EXPECT_FALSE(model->Files().MergeVisible()) << "the sibling holds the program now";

    // A second merge updates the program but never the list already there.
    WriteBytes(paths_.ProgramFolder / "dolvane", "program v2");
    WriteBytes(paths_.ListFilePath, Sj("2010/05/09 09:00+=03000@\\@#@#後から\r\n"));
    ASSERT_TRUE(model->Files().Merge());
    EXPECT_EQ(ReadBytes(Sibling() / "dolvane"), "program v2");
    EXPECT_EQ(ReadBytes(Sibling() / "data" / "aki" / "todolist.txt"), kListed);
}

TEST_F(FileCommandsTest, AMergeWithoutTheSiblingsFoldersEndsQuietly)
{
    WriteBytes(paths_.ProgramFolder / "dolvane", "program");
    auto model = Make();
    EXPECT_FALSE(model->Files().Merge()) << "no sibling folder";
    fs::create_directories(Sibling());
    ASSERT_TRUE(model->Files().Merge()) << "the program is copied, the list's folder is not made";
    EXPECT_FALSE(fs::exists(Sibling() / "data"));
    EXPECT_FALSE(fs::exists(Sibling() / "Help"));
    fs::remove(paths_.ProgramFolder / "dolvane");
    fs::remove(Sibling() / "dolvane");
    EXPECT_FALSE(model->Files().Merge()) << "a program that cannot be copied ends the merge";
    EXPECT_EQ(prompts_.messages.size(), 1U);
    EXPECT_TRUE(prompts_.errors.empty());
}

TEST_F(FileCommandsTest, TheHelpPageIsBesideTheProgram)
{
    auto model = Make();
    EXPECT_EQ(model->Files().HelpPage(), paths_.ProgramFolder / "Help" / "Dolvane.htm");
}

}  // namespace
}  // namespace dolvane
