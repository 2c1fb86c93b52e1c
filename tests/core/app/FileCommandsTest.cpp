// ".tod" import and export, the help page and the merge into the sibling's folder.
#include "core/app/FileCommands.h"

#include "support/WindowModelFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <unistd.h>

namespace dolvane {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::Sj;
using test::WriteBytes;

const std::string kListed = test::kOneLine + "\r\n";
const std::string kMergeDone =
    "ピマロとの統合が終わりました。\nDolvaneは、ピマロのタスクトレイアイコンのメニューから開くことができます。\n";
const std::string kImported = Sj("2010/05/02 09:00+=03000@\\@#@#一つ目\r\nメモの行\r\n"
                                 "2010/05/03 09:00+=12100@\\@#@#二つ目\r\n");

class FileCommandsTest : public test::WindowModelTest {
protected:
    fs::path Tod() const { return folder_ / "saved.tod"; }
    fs::path Sibling() const { return paths_.SiblingFolder; }

    // What the merge says when the list did not go with the program.
    std::string ListStayed() const
    {
        return kMergeDone +
               "尚、ToDoリストはピマロのフォルダにコピーしていません。ToDoリストは現在ご使用のDolvaneの"
               "フォルダに残っていますので、フォルダを削除しないで下さい (" +
               paths_.ListFilePath.string() + ")";
    }

    void MakeProgram()
    {
        fs::create_directories(paths_.ProgramFolder / "Help");
        WriteBytes(paths_.ProgramFolder / "dolvane", "program v1");
        fs::permissions(paths_.ProgramFolder / "dolvane", fs::perms(0755));
        WriteBytes(paths_.ProgramFolder / "libCharacterConversion.so", "library");
        WriteBytes(paths_.ProgramFolder / "Help" / "Dolvane.htm", "help");
    }
    // The sibling's folders as its installer leaves them: the user's, or root's, and no one
    // else's to write, whatever the umask of the test.
    void MakeSiblingFolders()
    {
        for (const fs::path& made : {Sibling(), Sibling() / "data", Sibling() / "data" / "aki", Sibling() / "Help"}) {
            fs::create_directories(made);
            fs::permissions(made, fs::perms(0755));
        }
    }
};

TEST_F(FileCommandsTest, AnImportAppliedReplacesTheList)
{
    WriteBytes(Tod(), kImported);
    auto model = Make();
    prompts_.fileAnswer = Tod();
    ASSERT_TRUE(model->Files().Import());
    EXPECT_EQ(prompts_.fileChoosers.back(), "open|ToDoファイル(*.tod)|*.tod");
    ASSERT_EQ(model->Rows().size(), 2U);
    EXPECT_TRUE(model->State().UnsavedChanges && model->State().UndoAvailable);
    EXPECT_EQ(ReadBytes(paths_.ListFilePath), kListed) << "nothing is written before applying";
    ASSERT_TRUE(model->Apply());
    // The imported to-dos in their order; a line that is no to-do is kept after them, as every
    // full save keeps such lines.
    EXPECT_EQ(ReadBytes(paths_.ListFilePath), Sj("2010/05/02 09:00+=03000@\\@#@#一つ目\r\n"
                                                 "2010/05/03 09:00+=12100@\\@#@#二つ目\r\nメモの行\r\n"));
}

TEST_F(FileCommandsTest, AnImportThatCannotBeReadLeavesTheListAsItWas)
{
    auto model = Make();
    fs::create_directories(folder_ / "unreadable.tod");  // a folder: not a file that can be read
    prompts_.fileAnswer = folder_ / "unreadable.tod";
    EXPECT_FALSE(model->Files().Import());
    ASSERT_EQ(prompts_.errors.size(), 1U);
    EXPECT_NE(prompts_.errors[0].find("読み込めませんでした"), std::string::npos) << prompts_.errors[0];
    ASSERT_EQ(model->Rows().size(), 1U) << "the list is shown again, never an empty list to apply";
    EXPECT_FALSE(model->State().UnsavedChanges);
}

TEST_F(FileCommandsTest, AnExportHoldsTheSavedListAndIsNoSaveOfTheList)
{
    auto model = Make();
    model->Document().Rows()[0].TaskText = "unsaved";
    model->Document().MarkChanged(true);
    prompts_.fileAnswer = Tod();
    ASSERT_TRUE(model->Files().Export());
    EXPECT_EQ(prompts_.fileChoosers.back(), "save|tod|ToDoファイル(*.tod)|*.tod");
    EXPECT_EQ(ReadBytes(Tod()), kListed);
    EXPECT_FALSE(fs::exists(folder_ / "saved.tod.lock")) << "no lock file beside an export";
    EXPECT_TRUE(sibling_.received.empty()) << "the list file was not saved: no notice";

    // A failed export says so, not that the list could not be saved.
    fs::remove(Tod());
    fs::create_directories(Tod());
    EXPECT_FALSE(model->Files().Export());
    ASSERT_EQ(prompts_.errors.size(), 1U);
    EXPECT_EQ(prompts_.errors[0].rfind("ToDoファイルを書き出せませんでした: ", 0), 0U) << prompts_.errors[0];
    fs::remove(Tod());

    // Cancel in the chooser does nothing at all.
    model->Document().Rows()[0].TaskText = "unsaved";
    prompts_.fileAnswer.reset();
    EXPECT_FALSE(model->Files().Export());
    EXPECT_FALSE(model->Files().Import());
    EXPECT_EQ(model->Rows()[0].TaskText, "unsaved");
}

// The question names what drops the edits: on "全て" no tab changes at all. No keeps the edits and
// the tab; yes shows "全て" reloaded first, so imported rows never stand in a filtered tab.
TEST_F(FileCommandsTest, TheQuestionBeforeAnImportOrAnExportNamesIt)
{
    WriteBytes(Tod(), kImported);
    const std::string importQuestion =
        "確認|ToDoファイルを読み込むと、保存していない変更内容が取り消されます。\nよろしいですか？";
    const std::string exportQuestion =
        "確認|ToDoファイルには保存済みの一覧が書き出され、保存していない変更内容は取り消されます。\nよろしいですか？";
    for (const MainTab tab : {MainTab::All, MainTab::Open}) {
        for (const bool import : {true, false}) {
            for (const bool yes : {false, true}) {
                SCOPED_TRACE(testing::Message() << "tab " << static_cast<int>(tab) << (import ? " import" : " export")
                                                << (yes ? " yes" : " no"));
                auto model = Make();
                ASSERT_TRUE(model->Tabs().ChangeMainTab(tab));
                model->Document().Rows()[0].TaskText = "unsaved";
                model->Document().MarkChanged(true);
                prompts_.questions.clear();
                prompts_.fileAnswer = import ? Tod() : folder_ / "out.tod";
                prompts_.answer = yes;
                EXPECT_EQ(import ? model->Files().Import() : model->Files().Export(), yes);
                EXPECT_EQ(prompts_.questions, std::vector<std::string>{import ? importQuestion : exportQuestion});
                EXPECT_EQ(model->Tabs().CurrentTab(), yes ? MainTab::All : tab);
                if (!yes) {
                    EXPECT_EQ(model->Rows()[0].TaskText, "unsaved");
                } else if (import) {
                    EXPECT_EQ(model->Rows().size(), 2U) << "both imported rows, the completed one too";
                }
            }
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

TEST_F(FileCommandsTest, TheMergeIsNotOfferedWithoutTheSiblingNorWhenItHoldsTheProgram)
{
    // Offered when the sibling's folder is there (see the merge below); not without it, nor with
    // the sibling's own program in it, nor when this program was started from inside it.
    for (const auto& [folder, program, inside] :
         {std::tuple(false, false, false), std::tuple(true, true, false), std::tuple(true, false, true)}) {
        fs::remove_all(folder_ / "opt");
        if (folder) {
            fs::create_directories(Sibling());
        }
        if (program) {
            WriteBytes(Sibling() / "ToDo.exe", "program");
        }
        paths_.InsideSiblingFolder = inside;
        EXPECT_FALSE(Make()->Files().MergeVisible()) << folder << program << inside;
    }
}

TEST_F(FileCommandsTest, AMergeCopiesTheProgramOnceTheListAndTheSettings)
{
    MakeProgram();
    MakeSiblingFolders();
    ASSERT_EQ(::chmod(paths_.ListFilePath.c_str(), 0644), 0);
    WriteBytes(paths_.ProgramFolder / "dolvane-state.ini", "[reminder]\r\nValue=0\r\n");
    auto model = Make();
    ASSERT_TRUE(model->Files().MergeVisible());
    ASSERT_TRUE(model->Files().Merge());

    EXPECT_EQ(ReadBytes(Sibling() / "dolvane"), "program v1");
    EXPECT_EQ(fs::status(Sibling() / "dolvane").permissions(), fs::perms(0755));
    EXPECT_EQ(ReadBytes(Sibling() / "libCharacterConversion.so"), "library");
    EXPECT_EQ(ReadBytes(Sibling() / "Help" / "Dolvane.htm"), "help");
    EXPECT_EQ(ReadBytes(Sibling() / "data" / "aki" / "todolist.txt"), kListed);
    EXPECT_EQ(fs::status(Sibling() / "data" / "aki" / "todolist.txt").permissions(), fs::perms(0600));
    EXPECT_EQ(ReadBytes(Sibling() / "dolvane-state.ini"), "[reminder]\r\nValue=0\r\n");
    EXPECT_FALSE(siblingSettings_.values.empty()) << "the settings go to the sibling's store";
    ASSERT_EQ(prompts_.messages.size(), 1U);
    EXPECT_EQ(prompts_.messages[0], kMergeDone + "尚、現在ご使用のDolvaneは、フォルダごと削除して下さい");
    EXPECT_FALSE(model->Files().MergeVisible()) << "the sibling holds the program now";

    // A second merge updates the program but never the list already there, and says so.
    WriteBytes(paths_.ProgramFolder / "dolvane", "program v2");
    WriteBytes(paths_.ListFilePath, Sj("2010/05/09 09:00+=03000@\\@#@#後から\r\n"));
    WriteBytes(paths_.ProgramFolder / "dolvane-state.ini", "[reminder]\r\nValue=1\r\n");
    ASSERT_TRUE(model->Files().Merge());
    EXPECT_EQ(ReadBytes(Sibling() / "dolvane"), "program v2");
    EXPECT_EQ(ReadBytes(Sibling() / "data" / "aki" / "todolist.txt"), kListed);
    EXPECT_EQ(ReadBytes(Sibling() / "dolvane-state.ini"), "[reminder]\r\nValue=0\r\n")
        << "the copy's own settings stay";
    EXPECT_EQ(prompts_.messages.back(), ListStayed());
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
    ASSERT_EQ(prompts_.messages.size(), 1U);
    EXPECT_EQ(prompts_.messages[0], ListStayed());
    EXPECT_TRUE(prompts_.errors.empty());
}

// Links planted where the merge writes, and folders others can write or own, never receive the
// user's files: a folder is refused with a message before anything is copied, a file name is
// replaced (or, for the list, left alone) rather than written through.
TEST_F(FileCommandsTest, AMergeNeverWritesThroughALinkNorIntoAFolderOthersCanWriteOrOwn)
{
    const fs::path elsewhere = folder_ / "elsewhere";
    const fs::path list = Sibling() / "data" / "aki";
    struct Case {
        const char* what;
        std::function<void()> plant;
        bool refused;
        bool needsRoot = false;  // to give a folder to another account
    };
    const Case cases[] = {
        {"the sibling's folder is a link",
         [&] {
             fs::rename(Sibling(), elsewhere);
             fs::create_directory_symlink(elsewhere, Sibling());
         },
         true},
        {"the list's folder is a link",
         [&] {
             fs::remove_all(list);
             fs::create_directory(elsewhere);
             fs::create_directory_symlink(elsewhere, list);
         },
         true},
        {"the list's folder is writable by everyone", [&] { fs::permissions(list, fs::perms(0777)); }, true},
        {"the sibling's folder is writable by its group", [&] { fs::permissions(Sibling(), fs::perms(0775)); }, true},
        {"the list's folder is another account's", [&] { ASSERT_EQ(::chown(list.c_str(), 65534, 65534), 0); }, true,
         true},
        {"every file name is a link",
         [&] {
             fs::create_directory(elsewhere);
             for (const fs::path& name : {Sibling() / "dolvane", Sibling() / "libCharacterConversion.so",
                                          Sibling() / "Help" / "Dolvane.htm", list / "todolist.txt"}) {
                 WriteBytes(elsewhere / name.filename(), "victim");
                 fs::create_symlink(elsewhere / name.filename(), name);
             }
         },
         false},
    };
    MakeProgram();
    for (const Case& c : cases) {
        if (c.needsRoot && ::geteuid() != 0) {
            continue;
        }
        fs::remove_all(folder_ / "opt");
        fs::remove_all(elsewhere);
        MakeSiblingFolders();
        c.plant();
        prompts_ = {};
        auto model = Make();
        EXPECT_EQ(model->Files().Merge(), !c.refused) << c.what;
        for (const auto& entry : fs::recursive_directory_iterator(folder_ / "opt")) {
            EXPECT_TRUE(!c.refused || entry.is_directory()) << c.what << ": " << entry.path();
        }
        if (fs::is_directory(elsewhere)) {
            for (const auto& entry : fs::recursive_directory_iterator(elsewhere)) {
                EXPECT_TRUE(entry.is_directory() || ReadBytes(entry.path()) == "victim")
                    << c.what << ": " << entry.path();
            }
        }
        if (c.refused) {
            ASSERT_EQ(prompts_.errors.size(), 1U) << c.what;
            EXPECT_EQ(prompts_.errors[0].rfind("ピマロに統合できませんでした。\n", 0), 0U) << prompts_.errors[0];
            EXPECT_TRUE(prompts_.messages.empty()) << c.what;
        } else {
            EXPECT_EQ(ReadBytes(Sibling() / "dolvane"), "program v1") << "the link was replaced";
            EXPECT_FALSE(fs::is_symlink(Sibling() / "dolvane"));
            EXPECT_EQ(ReadBytes(Sibling() / "libCharacterConversion.so"), "library");
            EXPECT_EQ(ReadBytes(Sibling() / "Help" / "Dolvane.htm"), "help");
            EXPECT_TRUE(fs::is_symlink(list / "todolist.txt")) << "a name taken in the list's folder stays";
            ASSERT_EQ(prompts_.messages.size(), 1U);
            EXPECT_EQ(prompts_.messages[0], ListStayed());
        }
    }
}

}  // namespace
}  // namespace dolvane
