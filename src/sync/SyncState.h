#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

struct sqlite3;

namespace dolvane {

// What one synced to-do was when the list and the server last agreed on it.
struct SyncedToDo {
    std::string uid;
    std::string href;
    std::string etag;
    std::string baseLine;    // the list file's line (cp932, without its line end) as last synced
    std::int64_t place = 0;  // that line's number in the list file then, 0-based
    std::string remoteIcs;   // the server's calendar object as last synced (UTF-8)
    // Sent as a new resource and not confirmed yet: a pass that was stopped after the PUT left
    // it on the server, one stopped before did not. The next pass finds out which.
    bool pending = false;
    // A repeating to-do of another program: left alone on the server, and not told again.
    bool recurring = false;

    friend bool operator==(const SyncedToDo&, const SyncedToDo&) = default;
};

// Everything the state file holds about one list file and its collection.
struct SyncSnapshot {
    std::string collection;  // the URL the entries belong to
    std::string syncToken;   // the collection's sync token after the last pass; empty: none
    std::vector<SyncedToDo> toDos;

    friend bool operator==(const SyncSnapshot&, const SyncSnapshot&) = default;
};

// The sync state of a list file, in an SQLite database beside it ("<list file>.sync.sqlite").
// Every change is one transaction, so a killed pass leaves the state as before it or after it.
// Errors throw SyncError.
class SyncState final {
public:
    static std::filesystem::path PathFor(const std::filesystem::path& listFile);

    // Opens the state file, making it when it is missing. One made by a newer version of the
    // program is refused rather than misread.
    explicit SyncState(const std::filesystem::path& file);
    ~SyncState();
    SyncState(const SyncState&) = delete;
    SyncState& operator=(const SyncState&) = delete;

    SyncSnapshot Load() const;
    // Adds or replaces these entries (matched by UID) at once, before their resources are sent.
    void Record(std::span<const SyncedToDo> toDos);
    // Replaces the whole state with `snapshot`.
    void Replace(const SyncSnapshot& snapshot);

private:
    [[noreturn]] void Fail() const;
    void Execute(const char* sql) const;
    void Insert(std::span<const SyncedToDo> toDos);

    std::filesystem::path file_;
    sqlite3* db_ = nullptr;
};

}  // namespace dolvane
