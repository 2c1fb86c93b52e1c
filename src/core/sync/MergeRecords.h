#pragma once

#include "core/store/ToDoRecord.h"

#include <optional>

namespace dolvane {

// The fields that travel to the server: start, deadline, importance, executor, task, category,
// progress, warning hours, completion (flag and time). Nothing else of a ToDoRecord counts.
bool SameSyncedFields(const ToDoRecord& a, const ToDoRecord& b);

struct MergeOutcome {
    ToDoRecord merged;                       // each field from the side that changed it
    std::optional<ToDoRecord> conflictCopy;  // the server's version as its own new to-do, its
                                             // task starting with "（競合）", when a field changed
                                             // on both sides to different values; `merged` then
                                             // is the local record unchanged
};

// A field counts as changed on a side when it differs from that side's base. The list's bytes
// and the server's text do not always convert into each other unchanged (cp932 has two forms of
// some characters), so the server's side may be weighed against its own last synced version:
// `remoteBase` is ReadVtodo of the server's object as last synced.
MergeOutcome MergeRecords(const ToDoRecord& localBase, const ToDoRecord& remoteBase, const ToDoRecord& local,
                          const ToDoRecord& remote);
// The same with one base for both sides.
MergeOutcome MergeRecords(const ToDoRecord& base, const ToDoRecord& local, const ToDoRecord& remote);

}  // namespace dolvane
