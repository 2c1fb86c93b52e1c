#include "core/sync/SyncRules.h"
#include "core/store/RecordLine.h"
#include "core/sync/MergeRecords.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Sj;
using test::Utf8;

TEST(SyncRulesTest, EachPairOfSideChangesHasItsStep)
{
    using enum SideChange;
    const struct {
        SideChange local;
        SideChange remote;
        SyncStep step;
    } table[] = {
        {Unchanged, Unchanged, SyncStep::Nothing},    {Unchanged, Changed, SyncStep::TakeRemote},
        {Unchanged, Deleted, SyncStep::RemoveLine},   {Changed, Unchanged, SyncStep::SendLocal},
        {Changed, Changed, SyncStep::MergeBoth},      {Changed, Deleted, SyncStep::SendAgain},
        {Deleted, Unchanged, SyncStep::DeleteRemote}, {Deleted, Changed, SyncStep::TakeRemote},
        {Deleted, Deleted, SyncStep::Forget},
    };
    for (const auto& row : table) {
        EXPECT_EQ(DecideStep(row.local, row.remote), row.step)
            << static_cast<int>(row.local) << " " << static_cast<int>(row.remote);
    }
}

ToDoRecord Edited(void (*edit)(ToDoRecord&))
{
    ToDoRecord row = ParseRecordLine(Sj("2024/01/01 09:00&2024/01/05 18:00+24=03010山田@\\@仕事#@#報告書･･下書き"));
    if (edit != nullptr) {
        edit(row);
    }
    return row;
}

TEST(SyncRulesTest, MergeTakesEachFieldFromTheSideThatChangedIt)
{
    using Edit = void (*)(ToDoRecord&);
    const Edit none = nullptr;
    const Edit deadline = [](ToDoRecord& r) { r.DeadlineText = "2024/01/09 18:00"; };
    const Edit otherDeadline = [](ToDoRecord& r) { r.DeadlineText = "2024/01/10 12:00"; };
    const Edit progress = [](ToDoRecord& r) { r.Progress = "80"; };
    const Edit task = [](ToDoRecord& r) { r.TaskText = Sj("報告書\r\n清書"); };
    const Edit done = [](ToDoRecord& r) {
        r.Completed = true;
        r.CompletedText = "2024/01/04 10:00";
    };
    const Edit doneLater = [](ToDoRecord& r) {
        r.Completed = true;
        r.CompletedText = "2024/01/04 11:00";
    };
    const Edit warning = [](ToDoRecord& r) { r.WarningHours = "48"; };
    const Edit unsynced = [](ToDoRecord& r) {
        r.RemainingText = "1日";
        r.Selected = true;
    };
    const struct {
        Edit local;
        Edit remote;
        const char* merged;  // the merged line, or "conflict"
        const char* what;
    } table[] = {
        {progress, none, "2024/01/01 09:00&2024/01/05 18:00+24=03080山田@\\@仕事#@#報告書･･下書き", "local only"},
        {none, deadline, "2024/01/01 09:00&2024/01/09 18:00+24=03010山田@\\@仕事#@#報告書･･下書き", "remote only"},
        {progress, deadline, "2024/01/01 09:00&2024/01/09 18:00+24=03080山田@\\@仕事#@#報告書･･下書き",
         "different fields"},
        {task, warning, "2024/01/01 09:00&2024/01/05 18:00+48=03010山田@\\@仕事#@#報告書･･清書",
         "task here, warning there"},
        {deadline, deadline, "2024/01/01 09:00&2024/01/09 18:00+24=03010山田@\\@仕事#@#報告書･･下書き",
         "the same change on both"},
        {done, progress, "2024/01/01 09:00&2024/01/05 18:00|2024/01/04 10:00+24=13080山田@\\@仕事#@#報告書･･下書き",
         "completion is a field"},
        {none, unsynced, "2024/01/01 09:00&2024/01/05 18:00+24=03010山田@\\@仕事#@#報告書･･下書き",
         "computed texts and selection do not count"},
        {deadline, otherDeadline, "conflict", "one field, two values"},
        {done, doneLater, "conflict", "completed at two times"},
    };
    for (const auto& row : table) {
        const ToDoRecord base = Edited(none);
        const ToDoRecord local = Edited(row.local);
        const ToDoRecord remote = Edited(row.remote);
        const MergeOutcome outcome = MergeRecords(base, local, remote);
        if (std::string_view(row.merged) == "conflict") {
            EXPECT_TRUE(SameSyncedFields(outcome.merged, local)) << row.what << ": the local line stays";
            ASSERT_TRUE(outcome.conflictCopy.has_value()) << row.what;
            ToDoRecord expected = remote;
            expected.TaskText = Sj("（競合）") + remote.TaskText;
            EXPECT_TRUE(SameSyncedFields(*outcome.conflictCopy, expected))
                << Utf8(FormatRecordLine(*outcome.conflictCopy));
            EXPECT_TRUE(outcome.conflictCopy->SourceLine.empty() && outcome.conflictCopy->FileLine.empty());
        } else {
            EXPECT_FALSE(outcome.conflictCopy.has_value()) << row.what;
            EXPECT_EQ(Utf8(LineToWrite(outcome.merged)), row.merged) << row.what;
        }
    }
}

// The server's text may come back in other cp932 bytes than the line holds (two forms of one
// character): weighed against its own base, an unchanged server field leaves the line's bytes.
TEST(SyncRulesTest, EachSideIsWeighedAgainstItsOwnBase)
{
    const ToDoRecord localBase = ParseRecordLine("2024/01/01 09:00+=00000@\\@#@#\xED\x40");
    ToDoRecord remoteBase = localBase;
    remoteBase.TaskText = "\xFA\x5C";
    ToDoRecord remote = remoteBase;
    remote.Progress = "40";
    const MergeOutcome outcome = MergeRecords(localBase, remoteBase, localBase, remote);
    EXPECT_FALSE(outcome.conflictCopy.has_value());
    EXPECT_EQ(LineToWrite(outcome.merged), "2024/01/01 09:00+=00040@\\@#@#\xED\x40");
}

}  // namespace
}  // namespace dolvane
