#include "core/app/MainWindowModel.h"

#include "core/time/TimeTexts.h"

namespace dolvane {
namespace {

constexpr std::string_view kSaveCaption = "ToDo";
constexpr std::string_view kSaveQuestion = "ToDoリストが変更されています。保存しますか？";

}  // namespace

MainWindowModel::MainWindowModel(ProgramPaths paths, MainWindowPorts ports)
    : loadConversionLibrary_(std::move(ports.loadConversionLibrary)),
      prompts_(ports.prompts),
      sibling_(ports.sibling),
      document_(std::move(paths), DocumentPorts{ports.clock, ports.prompts, ports.sibling, ports.files}),
      settings_(document_, ports.prompts, ports.files, ports.siblingSettings),
      tabs_(document_, settings_, ports.prompts),
      panel_(document_, tabs_, ports.prompts),
      list_(document_, settings_, ports.prompts, ports.files),
      cellEdit_(document_, panel_, list_, ports.prompts),
      purge_(document_, settings_, ports.prompts),
      calendar_(document_, settings_, panel_),
      files_(document_, tabs_, settings_, ports.prompts, ports.files),
      notes_(document_, ports.prompts, ports.sibling),
      reminders_(document_, settings_, ports.notifier),
      sync_(document_, tabs_, ports.prompts, ports.sync)
{
    document_.SetViewSource(tabs_);
    tabs_.SetViewApplied([this] {
        panel_.ClearForNewView();
        calendar_.ViewApplied();
    });
    document_.Reload();
}

void MainWindowModel::SetObserver(MainWindowObserver* observer)
{
    if (observer_ != nullptr) {
        document_.RemoveObserver(observer_);
    }
    observer_ = observer;
    document_.AddObserver(observer);
}

void MainWindowModel::FormCreate()
{
    if (loadConversionLibrary_) {
        tabs_.SetConversionLibrary(loadConversionLibrary_());
    }
    settings_.Read();
}

bool MainWindowModel::CloseQuery()
{
    settings_.Write();
    if (!document_.State().UnsavedChanges) {
        return true;
    }
    if (!prompts_.AskYesNo(kSaveCaption, kSaveQuestion)) {
        return true;
    }
    return document_.Apply();
}

void MainWindowModel::FormDestroy()
{
    tabs_.SetConversionLibrary(nullptr);
}

bool MainWindowModel::SiblingHasGone() const
{
    return document_.Paths().InsideSiblingFolder && !sibling_.Running();
}

MainWindowModel::StatusTickResult MainWindowModel::StatusTick()
{
    StatusTickResult result;
    result.repaintCalendar = calendar_.CountDownHolidayNames();
    if (SiblingHasGone()) {
        result.closeWindow = true;
        return result;
    }
    purge_.Tick();
    reminders_.Tick();
    StatusRefresh& refresh = document_.Refresh();
    const auto tick = refresh.Tick(document_.Rows(), document_.Now());
    result.changedRow = tick.changedRow;
    result.repaintAll = tick.repaintAll;
    result.intervalMs = refresh.IntervalMs();
    return result;
}

void MainWindowModel::SetElapsedRate(bool on)
{
    document_.Refresh().SetElapsedRate(on);
    document_.Refresh().Restart();
}

bool MainWindowModel::ShowNotifiedToDo(std::uint32_t notificationId)
{
    const auto row = reminders_.RowOfNotification(notificationId);
    if (!row) {
        return false;
    }
    document_.SelectOnly(*row);
    document_.Notify(&MainWindowObserver::SelectionChanged);
    panel_.ShowSelectedRow();
    return true;
}

void MainWindowModel::AddFromPanel()
{
    std::optional<DateTime> start;
    if (const auto moment = calendar_.CellMoment()) {
        start = ParseDateTimeText(*moment);
    }
    panel_.AddFromPanel(start);
}

}  // namespace dolvane
