#include "core/sync/MergeRecords.h"

#include "core/text/Cp932Codec.h"

#include <array>

namespace dolvane {
namespace {

// Completion is one field: the flag and its time travel together (STATUS and COMPLETED).
bool SameCompletion(const ToDoRecord& a, const ToDoRecord& b)
{
    return a.Completed == b.Completed && a.CompletedText == b.CompletedText;
}

void TakeCompletion(ToDoRecord& to, const ToDoRecord& from)
{
    to.Completed = from.Completed;
    to.CompletedText = from.CompletedText;
}

// The text fields among the synced ones; completion is handled beside them.
constexpr std::array kTextFields = {Field::Start, Field::Deadline, Field::Importance, Field::Executor,
                                    Field::Task,  Field::Category, Field::Progress,   Field::WarningHours};

}  // namespace

bool SameSyncedFields(const ToDoRecord& a, const ToDoRecord& b)
{
    for (const Field field : kTextFields) {
        if (a.Text(field) != b.Text(field)) {
            return false;
        }
    }
    return SameCompletion(a, b);
}

MergeOutcome MergeRecords(const ToDoRecord& localBase, const ToDoRecord& remoteBase, const ToDoRecord& local,
                          const ToDoRecord& remote)
{
    MergeOutcome outcome{local, std::nullopt};
    ToDoRecord& merged = outcome.merged;
    bool conflict = false;
    for (const Field field : kTextFields) {
        const bool remoteChanged = remote.Text(field) != remoteBase.Text(field);
        const bool localChanged = local.Text(field) != localBase.Text(field);
        if (!remoteChanged) {
            continue;
        }
        if (!localChanged) {
            merged.Text(field) = remote.Text(field);
        } else if (local.Text(field) != remote.Text(field)) {
            conflict = true;
        }
    }
    if (!SameCompletion(remote, remoteBase)) {
        if (SameCompletion(local, localBase)) {
            TakeCompletion(merged, remote);
        } else if (!SameCompletion(local, remote)) {
            conflict = true;
        }
    }
    if (!conflict) {
        return outcome;
    }
    outcome.merged = local;
    ToDoRecord copy = remote;
    copy.TaskText.insert(0, Utf8ToCp932("（競合）"));
    // A line of its own: nothing of the local line's place or bytes goes with it.
    copy.FileLine.clear();
    copy.SourceLine.clear();
    copy.LineEnd.clear();
    copy.Selected = false;
    outcome.conflictCopy = std::move(copy);
    return outcome;
}

MergeOutcome MergeRecords(const ToDoRecord& base, const ToDoRecord& local, const ToDoRecord& remote)
{
    return MergeRecords(base, base, local, remote);
}

}  // namespace dolvane
