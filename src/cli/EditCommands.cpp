#include "cli/EditCommands.h"

#include "cli/CliText.h"
#include "core/edit/EditPanel.h"
#include "core/store/FieldValidation.h"
#include "core/store/FileIo.h"
#include "core/store/LineEdit.h"
#include "core/store/ListStore.h"
#include "core/store/RecordLine.h"
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

// The list file as the command reads it, under its lock. Leftovers of killed saves go first, as
// at every load of the window.
FileView ReadList(FileSystem& files, const std::filesystem::path& file)
{
    files.RemoveStaleTemporaryFiles(file);
    FileError error;
    auto contents = files.ViewWholeFile(file, error);
    if (!contents) {
        throw CliError("ToDoリストを読み込めませんでした: " + error.message);
    }
    return std::move(*contents);
}

// Writes the changed file, unless another program changed it behind the lock since it was read;
// every other line is written back exactly as it was read. The sibling hears of the save as it
// does from the window, so its view of the list follows.
void Save(const CliEnvironment& environment, const std::filesystem::path& file, const FileView& read,
          const EditedFile& edited)
{
    FileError error;
    if (!WriteUnlessChanged(environment.files, file, read.stamp, edited, error)) {
        throw CliError(error.message);
    }
    if (environment.sibling != nullptr) {
        NotifySibling(*environment.sibling);
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
    // A control byte is invisible in every view and in the window's task box; only tabs and
    // line breaks are text.
    const auto control = std::find_if(taskOption->begin(), taskOption->end(), [](char c) {
        return (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == '\x7F';
    });
    if (control != taskOption->end()) {
        throw CliError("--task の " + std::to_string(control - taskOption->begin() + 1) +
                       " バイト目に制御文字があります (タブと改行のほかは入れられません)");
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
    // No other row is read: the new one is appended after every line of the file.
    const FileView read = ReadList(environment.files, file);
    const std::string newLine = LineToWrite(panel.NewRow(now, now, {}));
    const EditedFile edited = WithAppendedLine(read.bytes, newLine);
    Save(environment, file, read, edited);
    out << edited.lineNumber << '\n';
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
    // Only the one line is read as a to-do; every other byte is copied.
    const FileView read = ReadList(environment.files, file);
    const auto old = LineAt(read.bytes, target);
    // A to-do line as the loader sees one: with "=" and a task that is not blank (other lines
    // are kept, not rows).
    const auto facts = old ? ReadLineFacts(*old) : std::nullopt;
    if (!facts || !facts->hasTask) {
        throw CliError(std::to_string(target) + " 行目は ToDo ではありません");
    }
    ToDoRecord row = ParseRecordLine(*old);
    if (row.Completed) {
        err << "dolvane-cli: 行 " << target << " の ToDo は既に完了しています (変更していません)\n";
        return 0;
    }
    row.Completed = true;
    row.CompletedText = FormatDateTimeText(now);
    const auto start = static_cast<std::size_t>(old->data() - read.bytes.data());
    const std::string written = LineToWrite(row);
    Save(environment, file, read, WithReplacedLine(read.bytes, start, old->size(), written));
    out << target << '\n';
    return 0;
}

}  // namespace dolvane::cli
