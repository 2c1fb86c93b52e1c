#include "sync/SyncState.h"

#include "sync/CalDavClient.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace dolvane {
namespace {

SyncedToDo Entry(std::string uid, std::int64_t place, bool pending = false)
{
    // Lines are cp932 bytes, a 0x5C trail byte and a lone 0x80 among them: kept as they are.
    return {uid,
            "/cal/" + uid + ".ics",
            "\"e-" + uid + "\"",
            "2024/01/02 03:04+hours==0 3000\x95\x5C@\\@#@#\x80",
            place,
            "BEGIN:VCALENDAR\r\nUID:" + uid + "\r\nEND:VCALENDAR\r\n",
            pending,
            false};
}

// Recorded entries join the replaced state or replace theirs; all of it survives a reopening.
TEST(SyncStateTest, AReplacedStateAndRecordedEntriesReadBackAfterReopening)
{
    const test::TempFolder folder;
    const auto file = SyncState::PathFor(folder / "todolist.txt");
    EXPECT_EQ(file.filename(), "todolist.txt.sync.sqlite");
    SyncSnapshot snapshot{"https://dav.example/cal/", "token-1", {Entry("b", 0), Entry("a", 4)}};
    snapshot.toDos[1].recurring = true;
    {
        SyncState state(file);
        EXPECT_EQ(state.Load(), SyncSnapshot{});
        state.Replace(SyncSnapshot{"old", "t0", {Entry("gone", 1)}});
        state.Replace(snapshot);
        const SyncedToDo recorded[] = {Entry("b", 1, true), Entry("c", 2, true)};
        state.Record(recorded);
    }
    snapshot.toDos = {Entry("b", 1, true), Entry("c", 2, true), snapshot.toDos[1]};
    EXPECT_EQ(SyncState(file).Load(), snapshot);
}

TEST(SyncStateTest, AStateFileOfANewerSchemaOrNoDatabaseIsRefused)
{
    const test::TempFolder folder;
    const auto newer = folder / "newer.sqlite";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(newer.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    EXPECT_THROW(SyncState{newer}, SyncError);

    test::WriteBytes(folder / "text.sqlite", std::string(4096, 'x'));
    EXPECT_THROW(SyncState{folder / "text.sqlite"}, SyncError);
}

}  // namespace
}  // namespace dolvane
