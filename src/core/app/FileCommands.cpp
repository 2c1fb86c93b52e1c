#include "core/app/FileCommands.h"

#include "core/store/ProgramState.h"

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

}  // namespace

std::string MergeDoneMessage(const std::optional<fs::path>& listLeftIn)
{
    const std::string name(kSiblingName);
    std::string message = name + "との統合が終わりました。\nDolvaneは、" + name +
                          "のタスクトレイアイコンのメニューから開くことができます。\n";
    if (!listLeftIn) {
        return message + "尚、現在ご使用のDolvaneは、フォルダごと削除して下さい";
    }
    // The only copy of the list is still here: deleting this folder would lose it.
    return message + "尚、ToDoリストは" + name + "のフォルダにコピーしていません。ToDoリストは現在ご使用のDolvaneの" +
           "フォルダに残っていますので、フォルダを削除しないで下さい (" + listLeftIn->string() + ")";
}

FileCommands::FileCommands(ToDoDocument& document, ViewTabs& tabs, SettingsSession& settings, Prompts& prompts,
                           FileSystem& files)
    : document_(document),
      prompts_(prompts),
      fileSystem_(files),
      tabs_(tabs),
      settings_(settings)
{
}

bool FileCommands::Import()
{
    const auto chosen = prompts_.ChooseFileToOpen(kToDoFilter);
    if (!chosen || !tabs_.ShowAllReloaded(kImportQuestion)) {
        return false;
    }
    return document_.ImportFrom(*chosen);
}

bool FileCommands::Export()
{
    const auto chosen = prompts_.ChooseFileToSave("tod", kToDoFilter);
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
    // Both folders the merge writes the user's files into are checked before anything is copied,
    // so a refusal leaves nothing half done.
    FileError refused;
    const auto sibling = fileSystem_.OpenPrivateFolder(paths.SiblingFolder, refused);
    std::unique_ptr<PrivateFolder> listFolder;
    if (sibling) {
        if (const auto data = sibling->Folder("data", refused)) {
            listFolder = data->Folder(paths.UserName, refused);
        }
    }
    if (!refused.message.empty()) {
        prompts_.ShowError(std::string(kSiblingName) + "に統合できませんでした。\n" + refused.message);
        return false;
    }
    if (!sibling) {
        return false;
    }
    FileError ignored;
    if (!sibling->CopyIn(paths.ProgramFolder / paths.ExecutableName, paths.ExecutableName, std::nullopt, true,
                         ignored)) {
        return false;
    }
    // The program's companions beside it, where this copy has them.
    for (const std::string_view companion : {kConversionLibrary, kCompanion}) {
        if (IsFile(paths.ProgramFolder / companion)) {
            sibling->CopyIn(paths.ProgramFolder / companion, companion, std::nullopt, true, ignored);
        }
    }
    // Never over a list already there (a second merge), and only into an existing folder. The
    // list is the user's alone, whatever its mode here.
    const bool listCopied = listFolder && listFolder->CopyIn(paths.ListFilePath, "todolist.txt", 0600, false, ignored);
    // The program's own settings (the reminders switch, column widths) go with it, never over
    // those of a copy already there.
    const fs::path stateFile = SettingsSession::StateFilePath(paths);
    if (IsFile(stateFile)) {
        sibling->CopyIn(stateFile, kStateFileName, std::nullopt, false, ignored);
    }
    // The help page goes only where the same rules hold; without it the merge is still done.
    if (const auto help = sibling->Folder("Help", ignored)) {
        help->CopyIn(HelpPage(), "Dolvane.htm", std::nullopt, true, ignored);
    }
    settings_.WriteToSiblingStore();
    prompts_.ShowMessage(MergeDoneMessage(listCopied ? std::nullopt : std::optional<fs::path>(paths.ListFilePath)));
    return true;
}

}  // namespace dolvane
