#include "core/app/RetentionPurge.h"

#include "core/store/Purge.h"
#include "core/text/Cp932Codec.h"

namespace dolvane {

RetentionPurge::RetentionPurge(ToDoDocument& document, const SettingsSession& settings, Prompts& prompts)
    : document_(document),
      prompts_(prompts),
      settings_(settings)
{
}

void RetentionPurge::Tick()
{
    if (pending_ && settings_.Values().KeepDays > 0) {
        pending_ = false;
        PurgeCompleted();
    }
}

void RetentionPurge::PurgeCompleted()
{
    auto& rows = document_.Rows();
    const int keepDays = settings_.Values().KeepDays;
    const auto found = FindPurgeRows(rows, document_.Now(), keepDays);
    if (found.empty()) {
        return;
    }
    SelectRows(rows, found);
    document_.Notify(&MainWindowObserver::RowsChanged);
    if (!prompts_.AskYesNo(Cp932ToUtf8(PurgeCaption()), Cp932ToUtf8(PurgeQuestionText(keepDays, found.size())))) {
        return;
    }
    // In a filtered view the rows' lines must go from the file too, as when deleting them.
    if (document_.Filtered()) {
        for (const std::size_t index : found) {
            if (!rows[index].FileLine.empty()) {
                document_.State().DeletedFileLines.push_back(rows[index].FileLine);
            }
        }
    }
    RemoveRows(rows, found);
    if (!document_.Save(false)) {
        // The rows are gone from the list but not from the file: keep that as an unsaved change.
        document_.MarkChanged(false);
    }
    document_.Notify(&MainWindowObserver::RowsReset);
    document_.Notify(&MainWindowObserver::StoreStateChanged);
}

}  // namespace dolvane
