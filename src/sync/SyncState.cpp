#include "sync/SyncState.h"

#include "sync/CalDavClient.h"

#include <sqlite3.h>

#include <memory>

namespace dolvane {
namespace {

// Raised whenever the tables change; an older program refuses a file of a newer schema.
constexpr int kSchemaVersion = 1;

constexpr const char* kCreateTables = R"(
CREATE TABLE IF NOT EXISTS collection (
    id INTEGER PRIMARY KEY CHECK (id = 1),
    url TEXT NOT NULL,
    sync_token TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS todo (
    uid TEXT PRIMARY KEY,
    href TEXT NOT NULL,
    etag TEXT NOT NULL,
    base_line BLOB NOT NULL,
    place INTEGER NOT NULL,
    remote_ics BLOB NOT NULL,
    pending INTEGER NOT NULL,
    recurring INTEGER NOT NULL
);
)";

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

std::string Column(sqlite3_stmt* statement, int column)
{
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
    return bytes == nullptr ? std::string()
                            : std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

void Bind(sqlite3_stmt* statement, int index, const std::string& text)
{
    // Bytes as they are: lines are cp932, which SQLite's TEXT would take for UTF-8.
    sqlite3_bind_blob(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

}  // namespace

std::filesystem::path SyncState::PathFor(const std::filesystem::path& listFile)
{
    return listFile.string() + ".sync.sqlite";
}

SyncState::SyncState(const std::filesystem::path& file) : file_(file)
{
    if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOFOLLOW,
                        nullptr) != SQLITE_OK) {
        const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw SyncError("同期の状態ファイルを開けませんでした: " + file.string() + " (" + message + ")");
    }
    // Another program's pass (the window and dolvane-cli at once) waits instead of failing.
    sqlite3_busy_timeout(db_, 10000);
    try {
        Statement statement;
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &raw, nullptr) != SQLITE_OK) {
            Fail();
        }
        statement.reset(raw);
        const int version = sqlite3_step(raw) == SQLITE_ROW ? sqlite3_column_int(raw, 0) : 0;
        statement.reset();
        if (version > kSchemaVersion) {
            throw SyncError("同期の状態ファイルは新しい版の Dolvane が作ったものです: " + file.string());
        }
        if (version < kSchemaVersion) {
            Execute("BEGIN IMMEDIATE");
            Execute(kCreateTables);
            Execute(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
            Execute("COMMIT");
        }
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

SyncState::~SyncState()
{
    sqlite3_close(db_);
}

void SyncState::Fail() const
{
    const std::string text = sqlite3_errmsg(db_);
    // A transaction left open would hold the file's lock until the program ends.
    if (sqlite3_get_autocommit(db_) == 0) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    throw SyncError("同期の状態ファイルを読み書きできませんでした: " + file_.string() + " (" + text + ")");
}

void SyncState::Execute(const char* sql) const
{
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        Fail();
    }
}

SyncSnapshot SyncState::Load() const
{
    SyncSnapshot snapshot;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT url, sync_token FROM collection WHERE id = 1", -1, &raw, nullptr) !=
        SQLITE_OK) {
        Fail();
    }
    Statement collection(raw);
    if (sqlite3_step(raw) == SQLITE_ROW) {
        snapshot.collection = Column(raw, 0);
        snapshot.syncToken = Column(raw, 1);
    }
    if (sqlite3_prepare_v2(db_,
                           "SELECT uid, href, etag, base_line, place, remote_ics, pending, recurring FROM todo "
                           "ORDER BY place, uid",
                           -1, &raw, nullptr) != SQLITE_OK) {
        Fail();
    }
    Statement toDos(raw);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
        snapshot.toDos.push_back({Column(raw, 0), Column(raw, 1), Column(raw, 2), Column(raw, 3),
                                  sqlite3_column_int64(raw, 4), Column(raw, 5), sqlite3_column_int(raw, 6) != 0,
                                  sqlite3_column_int(raw, 7) != 0});
    }
    if (step != SQLITE_DONE) {
        Fail();
    }
    return snapshot;
}

void SyncState::Insert(std::span<const SyncedToDo> toDos)
{
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, "INSERT OR REPLACE INTO todo VALUES (?, ?, ?, ?, ?, ?, ?, ?)", -1, &raw, nullptr) !=
        SQLITE_OK) {
        Fail();
    }
    const Statement statement(raw);
    for (const SyncedToDo& toDo : toDos) {
        Bind(raw, 1, toDo.uid);
        Bind(raw, 2, toDo.href);
        Bind(raw, 3, toDo.etag);
        Bind(raw, 4, toDo.baseLine);
        sqlite3_bind_int64(raw, 5, toDo.place);
        Bind(raw, 6, toDo.remoteIcs);
        sqlite3_bind_int(raw, 7, toDo.pending ? 1 : 0);
        sqlite3_bind_int(raw, 8, toDo.recurring ? 1 : 0);
        if (sqlite3_step(raw) != SQLITE_DONE) {
            Fail();
        }
        sqlite3_reset(raw);
    }
}

void SyncState::Record(std::span<const SyncedToDo> toDos)
{
    Execute("BEGIN IMMEDIATE");
    Insert(toDos);
    Execute("COMMIT");
}

void SyncState::Replace(const SyncSnapshot& snapshot)
{
    Execute("BEGIN IMMEDIATE");
    Execute("DELETE FROM todo; DELETE FROM collection");
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, "INSERT INTO collection VALUES (1, ?, ?)", -1, &raw, nullptr) != SQLITE_OK) {
        Fail();
    }
    {
        const Statement statement(raw);
        Bind(raw, 1, snapshot.collection);
        Bind(raw, 2, snapshot.syncToken);
        if (sqlite3_step(raw) != SQLITE_DONE) {
            Fail();
        }
    }
    Insert(snapshot.toDos);
    Execute("COMMIT");
}

}  // namespace dolvane
