#pragma once

#include "core/app/SettingsSession.h"
#include "core/app/ToDoDocument.h"
#include "core/app/ViewTabs.h"

#include <filesystem>
#include <optional>
#include <string>

namespace dolvane {

// The file-level commands of the main menu: ".tod" import and export ("ToDo管理"), the help
// page, and the one-time merge that copies the program, its list and its help page into the
// sibling program's folder so that the sibling can host it.
class FileCommands final {
public:
    FileCommands(ToDoDocument& document, ViewTabs& tabs, SettingsSession& settings, Prompts& prompts,
                 FileSystem& files);

    // "Save" is offered only with at least one row.
    bool ExportEnabled() const { return !document_.Rows().empty(); }
    // "Load": asks for a ".tod" file, shows "全て" reloaded and replaces the rows with the
    // file's to-dos; applying writes them to the list file, undo brings the list back.
    bool Import();
    // "Save": asks for a ".tod" file, shows "全て" reloaded (so the saved list is exported, not
    // unsaved edits) and writes every row to it.
    bool Export();

    // The page "ヘルプ" opens.
    std::filesystem::path HelpPage() const;

    // "ピマロに統合" is shown only while the sibling is installed, does not hold this program
    // yet, and does not host this copy.
    bool MergeVisible() const;
    // Copies the program files, the list (never over one already there) and the help page into
    // the sibling's folder, hands the settings to the sibling's store and says what to do next.
    // False, silently, when the sibling's folder is missing or the program could not be copied;
    // false with a message, copying nothing, when the sibling's folder or the list's folder
    // there is a link or other accounts can write it.
    bool Merge();

private:
    ToDoDocument& document_;
    Prompts& prompts_;
    FileSystem& fileSystem_;
    ViewTabs& tabs_;
    SettingsSession& settings_;
};

// The message after a merge (UTF-8), each "\n" a single line feed. It advises deleting this
// copy of the program only when the list went with it; `listLeftIn` is the list that did not.
std::string MergeDoneMessage(const std::optional<std::filesystem::path>& listLeftIn);

}  // namespace dolvane
