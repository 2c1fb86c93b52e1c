#include "core/app/FileCommands.h"

#include <system_error>

namespace dolvane {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kToDoFilter = "ToDoファイル(*.tod)|*.tod";
// Both reload the list first: an import replaces the rows, an export writes the saved list.
constexpr std::string_view kImportQuestion =
    "ToDoファイルを読み込むと、保存していない変更内容が取り消されます。\nよろしいですか？";
constexpr std::string_view kExportQuestion =
    "ToDoファイルには保存済みの一覧が書き出され、保存していない変更内容は取り消されます。\nよろしいですか？";
constexpr std::string_view kSiblingName = "ピマロ";
constexpr std::string_view kConversionLibrary = "libCharacterConversion.so";
constexpr std::string_view kCompanion = "dolvane-cli";

fs::path HelpPageIn(const fs::path& folder)
{
    return folder / "Help" / "Dolvane.htm";
}

bool IsFile(const fs::path& path)
{
    std::error_code ignored;
    return fs::is_regular_file(path, ignored);
}

// Copies one file; no folder is created for it.
bool CopyOne(const fs::path& from, const fs::path& to, bool overwrite)
{
    std::error_code error;
    return fs::copy_file(from, to, overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::none, error);
}

}  // namespace

std::string MergeDoneMessage()
{
    const std::string name(kSiblingName);
    return name + "との統合が終わりました。\nDolvaneは、" + name +
           "のタスクトレイアイコンのメニューから開くことができます。\n尚、現在ご使用のDolvaneは、フォルダごと削除して下"
           "さい";
}

FileCommands::FileCommands(ToDoDocument& document, ViewTabs& tabs, SettingsSession& settings)
    : document_(document),
      tabs_(tabs),
      settings_(settings)
{
}

bool FileCommands::Import()
{
    const auto chosen = document_.Ask().ChooseFileToOpen(kToDoFilter);
    if (!chosen || !tabs_.ShowAllReloaded(kImportQuestion)) {
        return false;
    }
    return document_.ImportFrom(*chosen);
}

bool FileCommands::Export()
{
    const auto chosen = document_.Ask().ChooseFileToSave("tod", kToDoFilter);
    if (!chosen || !tabs_.ShowAllReloaded(kExportQuestion)) {
        return false;
    }
    return document_.ExportTo(*chosen);
}

fs::path FileCommands::HelpPage() const
{
    return HelpPageIn(document_.Paths().ProgramFolder);
}

bool FileCommands::MergeVisible() const
{
    const ProgramPaths& paths = document_.Paths();
    std::error_code ignored;
    // "ToDo.exe" is the name the sibling's own installer gives the program; a merge from here
    // leaves it under this executable's name.
    return fs::is_directory(paths.SiblingFolder, ignored) && !IsFile(paths.SiblingFolder / "ToDo.exe") &&
           !IsFile(paths.SiblingFolder / paths.ExecutableName) && !paths.InsideSiblingFolder;
}

bool FileCommands::Merge()
{
    const ProgramPaths& paths = document_.Paths();
    std::error_code ignored;
    if (!fs::is_directory(paths.SiblingFolder, ignored)) {
        return false;
    }
    if (!CopyOne(paths.ProgramFolder / paths.ExecutableName, paths.SiblingFolder / paths.ExecutableName, true)) {
        return false;
    }
    // The program's companions beside it, where this copy has them.
    for (const std::string_view companion : {kConversionLibrary, kCompanion}) {
        if (IsFile(paths.ProgramFolder / companion)) {
            CopyOne(paths.ProgramFolder / companion, paths.SiblingFolder / companion, true);
        }
    }
    // Never over a list already there (a second merge), and only into an existing folder.
    CopyOne(paths.ListFilePath, paths.SiblingFolder / "data" / paths.UserName / "todolist.txt", false);
    CopyOne(HelpPage(), HelpPageIn(paths.SiblingFolder), true);
    settings_.WriteToSiblingStore();
    document_.Ask().ShowMessage(MergeDoneMessage());
    return true;
}

}  // namespace dolvane
