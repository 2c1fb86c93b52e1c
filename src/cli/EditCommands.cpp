#include "cli/EditCommands.h"

#include "cli/CliText.h"
#include "core/edit/EditPanel.h"
#include "core/store/FieldValidation.h"
#include "core/store/ListStore.h"
#include "core/text/Numbers.h"
#include "core/time/TimeTexts.h"
#include "core/view/StatusRefresh.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace dolvane::cli {
namespace {

constexpr OptionRule kAddOptions[] = {
    {"--file"},     {"--task"},     {"--start"},    {"--deadline"},      {"--importance"},
    {"--executor"}, {"--category"}, {"--progress"}, {"--warning-hours"}, {"--now"},
};

constexpr OptionRule kDoneOptions[] = {{"--file"}, {"--now"}};

// The panel fields the options fill, with the record field whose rules they follow.
struct AddField {
    std::string_view option;
    PanelField panel;
    Field record;
};
constexpr AddField kAddFields[] = {
    {"--start", PanelField::Start, Field::Start},
    {"--deadline", PanelField::Deadline, Field::Deadline},
    {"--importance", PanelField::Importance, Field::Importance},
    {"--executor", PanelField::Executor, Field::Executor},
    {"--category", PanelField::Category, Field::Category},
    {"--progress", PanelField::Progress, Field::Progress},
    {"--warning-hours", PanelField::WarningHours, Field::WarningHours},
};

// The task box holds its line breaks as CR LF; a shell hands them over as LF (or CR).
std::string TaskWithWindowsLineBreaks(std::string_view task)
{
    std::string text;
    text.reserve(task.size() + 8);
    for (std::size_t i = 0; i < task.size(); ++i) {
        if (task[i] == '\r' || task[i] == '\n') {
            if (task[i] == '\r' && i + 1 < task.size() && task[i + 1] == '\n') {
                ++i;
            }
            text += "\r\n";
        } else {
            text += task[i];
        }
    }
    return text;
}

void Save(ListStore& store, const std::filesystem::path& file, SiblingPort* sibling)
{
    FileError error;
    // Merged, as from a filtered tab: the lines the command does not touch are written back
    // exactly as they were read, and a file changed since the load is never written over. The
    // sibling hears of the save as it does from the window, so its view of the list follows.
    ListStore::SaveOptions options;
    options.sibling = sibling;
    options.lockHeld = true;  // taken by the command before it read the file
    if (store.SaveList(file, SaveMode::Merge, error, options) != SaveStatus::Saved) {
        throw CliError(error.message);
    }
}

// Held from the command's read of the list to its save: another writer waits, so commands run
// one after another and none is refused for a change the other made meanwhile.
class CommandLock final {
public:
    CommandLock(FileSystem& files, const std::filesystem::path& file)
    {
        FileError error;
        lock_ = files.LockListFile(file, error);
        if (!lock_) {
            throw CliError(error.message);
        }
    }

private:
    std::unique_ptr<FileLock> lock_;
};

void Load(ListStore& store, const std::filesystem::path& file, const LineFilter& filter, DateTime now)
{
    FileError error;
    if (!store.LoadList(file, filter, now, error)) {
        throw CliError(error.message);
    }
}

}  // namespace

int RunAdd(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out)
{
    const CommandLine line(arguments, kAddOptions, 0);
    const auto taskOption = line.Value("--task");
    if (!taskOption) {
        throw CliError("--task ですべきことを指定してください");
    }
    const std::string task = TaskWithWindowsLineBreaks(ArgumentToCp932(*taskOption, "--task"));
    // The window's own words: an empty or blank task is the same mistake there.
    if (const auto problem = FieldError(Field::Task, task)) {
        throw CliError(*problem);
    }
    EditPanel panel;
    panel.SetText(PanelField::Task, task, 0);
    for (const AddField& field : kAddFields) {
        const auto value = line.Value(field.option);
        if (!value) {
            continue;
        }
        const std::string text = ArgumentToCp932(*value, field.option);
        // The window's own check of a ticked field; an emptied importance stands for 0.
        if (field.panel != PanelField::Importance || !text.empty()) {
            if (const auto problem = FieldError(field.record, text)) {
                throw CliError(std::string(field.option) + ": " + *problem);
            }
        }
        panel.SetText(field.panel, text, 0);
        panel.SetIncluded(field.panel, true);  // also when the text equals the field's default
    }
    const DateTime now = NowOption(line, environment);
    const std::filesystem::path file = ListFileOption(line, environment);

    const CommandLock lock(environment.files, file);
    ListStore store(environment.files);
    // No existing row is needed: the new one is appended after every line of the file.
    Load(
        store, file, [](const LineFacts&) { return false; }, now);
    store.Rows().push_back(panel.NewRow(now, now, {}));
    store.State().UnsavedChanges = true;
    Save(store, file, environment.sibling);
    out << store.Rows().back().FileLine << '\n';
    return 0;
}

int RunDone(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out,
            std::ostream& err)
{
    const CommandLine line(arguments, kDoneOptions, 1);
    if (line.Positionals().empty()) {
        throw CliError("完了にする ToDo の行番号を指定してください (list の最初の欄)");
    }
    const std::string& lineText = line.Positionals().front();
    const auto lineNumber = ParseInt32(lineText);
    if (!lineNumber || *lineNumber < 0) {
        throw CliError("行番号は 0 以上の整数で指定してください: " + lineText);
    }
    const auto target = static_cast<std::size_t>(*lineNumber);
    const DateTime now = NowOption(line, environment);
    const std::filesystem::path file = ListFileOption(line, environment);

    const CommandLock lock(environment.files, file);
    // Only the one row is built: the loader hands the filter the to-do lines in file order, so
    // the row is the one after as many to-do lines as stand before it.
    FileError error;
    const auto contents = environment.files.ReadWholeFile(file, error);
    if (!contents) {
        throw CliError("ToDoリストを読み込めませんでした: " + error.message);
    }
    const std::vector<std::string_view> lines = SplitLines(contents->bytes);
    const std::string notToDo = std::to_string(target) + " 行目は ToDo ではありません";
    // A to-do line as the loader sees one: with "=" and a task (other lines are kept, not rows).
    const auto isToDo = [](std::string_view text) {
        const auto facts = ReadLineFacts(text);
        return facts && facts->hasTask;
    };
    if (target >= lines.size() || !isToDo(lines[target])) {
        throw CliError(notToDo);
    }
    const auto before = static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(target), isToDo));
    std::size_t seen = 0;
    ListStore store(environment.files);
    Load(
        store, file, [&seen, before](const LineFacts&) { return seen++ == before; }, now);
    if (store.Rows().size() != 1 || store.Rows().front().FileLine != std::to_string(target)) {
        throw CliError("ToDoリストが読み込み中に他のプログラムで変更されました。変更していません: " + file.string());
    }

    ToDoRecord& row = store.Rows().front();
    // A blank task makes no to-do, by the same rule that keeps Add from writing one.
    if (IsBlankTask(row.TaskText)) {
        throw CliError(notToDo);
    }
    if (row.Completed) {
        err << "dolvane-cli: 行 " << target << " の ToDo は既に完了しています (変更していません)\n";
        return 0;
    }
    row.Completed = true;
    row.CompletedText = FormatDateTimeText(now);
    RefreshRowStatus(row, now, false);
    store.State().UnsavedChanges = true;
    Save(store, file, environment.sibling);
    out << target << '\n';
    return 0;
}

}  // namespace dolvane::cli
