#pragma once

// A window model on a list file in a temporary program folder, with ports that answer as told.
#include "core/app/MainWindowModel.h"
#include "support/DiskFiles.h"
#include "support/FakePorts.h"
#include "support/Sjis.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace dolvane::test {

inline const std::string kOneLine = "2010/05/01 09:00&2010/05/10 18:00+24=03050@\\@#@#task";

class WindowModelTest : public testing::Test {
protected:
    WindowModelTest()
    {
        paths_ = DeriveProgramPaths(folder_.Path() / "program", "aki", folder_.Path() / "opt");
        std::filesystem::create_directories(paths_.ListFilePath.parent_path());
        WriteBytes(paths_.ListFilePath, kOneLine + "\r\n");
    }

    // A desktop with a notification service or a sync server where they are given.
    std::unique_ptr<MainWindowModel> Make(Notifier* notifier = nullptr, SyncService* sync = nullptr)
    {
        auto model = std::make_unique<MainWindowModel>(
            paths_, MainWindowPorts{clock_, prompts_, sibling_, DiskFiles(), &siblingSettings_, {}, notifier, sync});
        model->FormCreate();
        return model;
    }

    TempFolder folder_;
    ProgramPaths paths_;
    FixedClock clock_;
    ScriptedPrompts prompts_;
    FakeSibling sibling_;
    FakeSettingsStore siblingSettings_;
};

// Records the notices the window would get, each with the number of questions asked before it.
class NoticeRecorder final : public MainWindowObserver {
public:
    explicit NoticeRecorder(const ScriptedPrompts& prompts) : prompts_(prompts) {}
    void RowsReset() override { Note("rows"); }
    void ViewChanged() override { Note("view"); }
    void PanelChanged() override { Note("panel"); }
    void StoreStateChanged() override { Note("store"); }
    void SettingsChanged() override { Note("settings"); }

    std::vector<std::string> notices;

private:
    void Note(const std::string& notice) { notices.push_back(notice + std::to_string(prompts_.questions.size())); }
    const ScriptedPrompts& prompts_;
};

// An open to-do: "start&deadline+hours=0 3 000 executor@\@category#@#task".
inline std::string OpenLine(const std::string& deadline, int hours, const std::string& task)
{
    return "2010/05/01 09:00&" + deadline + "+" + std::to_string(hours) + "=03000@\\@#@#" + task;
}

// The window model with a notifier of type `N` (a fake, or the real one on a private bus), for the
// reminders run by the status timer.
template <typename N> class ReminderModelTest : public WindowModelTest {
protected:
    void WriteList(const std::vector<std::string>& lines)
    {
        std::string text;
        for (const auto& line : lines) {
            text += line + "\r\n";
        }
        WriteBytes(paths_.ListFilePath, text);
    }

    std::unique_ptr<MainWindowModel> MakeWithNotifier() { return Make(&notifier_); }

    // Runs the status timer at each moment, as the window does while it is open.
    void TickAt(MainWindowModel& model, const std::vector<std::string>& moments)
    {
        for (const auto& moment : moments) {
            clock_.now = ParseDateTimeText(moment);
            model.StatusTick();
        }
    }

    N notifier_;
};

}  // namespace dolvane::test
