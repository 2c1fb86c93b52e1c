// Loading and saving the list file: what a save writes and keeps, and what it does with files
// that are not plain lists of this user (pipes, links, other owners, read-only files, leftovers
// of killed saves, foreign line ends, lines without a task) and with system calls that fail or
// write less than asked.
#include "core/store/ListStore.h"
#include "core/store/FileIo.h"
#include "core/time/TimeTexts.h"
#include "support/ChildProcess.h"
#include "support/DiskFiles.h"
#include "support/FakePorts.h"
#include "support/ListFiles.h"
#include "support/Sjis.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <future>
#include <grp.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace dolvane {
namespace {

namespace fs = std::filesystem;
using test::CrLfLines;
using test::DiskFiles;
using test::ReadBytes;
using test::Sj;
using test::TempFolder;
using test::WriteBytes;

const LineFilter kAll = [](const LineFacts&) { return true; };
const LineFilter kOpen = [](const LineFacts& facts) { return !facts.completed; };

const DateTime kNow = ParseDateTimeText("2010/05/05 12:00");
const std::string kLine = "2010/05/01 09:00+=00000@\\@#@#task";

// Line i of a test file: open unless `done`, task "task<i>".
std::string Line(int i, bool done = false)
{
    return "2010/05/01 09:00+=" + std::string(done ? "1" : "0") + "0000@\\@#@#task" + std::to_string(i);
}

// Each test has a folder of its own holding a list of one line, and a store of the real files.
class ListStoreTest : public testing::Test {
protected:
    ListStoreTest() { WriteBytes(path_, kLine + "\r\n"); }

    void Load(const LineFilter& filter, const fs::path& path = {})
    {
        FileError error;
        ASSERT_TRUE(store_.LoadList(path.empty() ? path_ : path, filter, kNow, error)) << error.message;
    }

    SaveStatus Save(SaveMode mode, const fs::path& path = {})
    {
        FileError error;
        return store_.SaveList(path.empty() ? path_ : path, mode, error, {false, &sibling_});
    }

    const TempFolder folder_;
    const fs::path path_ = folder_ / "todolist.txt";
    ListStore store_{DiskFiles()};
    test::FakeSibling sibling_;
};

TEST_F(ListStoreTest, MissingFileLoadsEmptyAndTheFirstSaveCreatesFolders)
{
    const fs::path path = folder_ / "data/user/todolist.txt";
    Load(kAll, path);
    EXPECT_TRUE(store_.Rows().empty());
    store_.Rows().push_back(ParseRecordLine("+=00000@\\@#@#new"));
    store_.State().UnsavedChanges = true;
    ASSERT_EQ(Save(SaveMode::Full, path), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path), "+=00000@\\@#@#new\r\n");
    EXPECT_FALSE(store_.State().UnsavedChanges);
    EXPECT_EQ(sibling_.received, (decltype(sibling_.received){{0U, "VelkA"}}));
}

TEST_F(ListStoreTest, LoadComputesTextsAndNumbersLines)
{
    WriteBytes(path_, CrLfLines({"2010/05/01 09:00&2010/05/06 12:00+24=03050@\\@#@#a", "junk without equals", "",
                                 "2010/05/01 09:00|2010/05/02 09:00+=15100@\\@#@#b"}));
    Load(kAll);
    ASSERT_EQ(store_.Rows().size(), 2U);
    EXPECT_EQ(store_.Rows()[0].FileLine, "0");
    EXPECT_EQ(store_.Rows()[0].RemainingText, Sj("24:00分")) << "at the time of the load";
    EXPECT_EQ(store_.Rows()[1].FileLine, "3");
}

// Lines that are no to-dos are kept after the rows; rows without a task are dropped.
TEST_F(ListStoreTest, FullSaveWritesDisplayOrderSkipsEmptyTasksAndKeepsNotes)
{
    WriteBytes(path_, CrLfLines({Line(0), "a note without equals", "", Line(1), Line(2)}));
    Load(kAll);
    auto& rows = store_.Rows();
    std::reverse(rows.begin(), rows.end());
    rows[1].TaskText.clear();
    ASSERT_EQ(Save(SaveMode::Full), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path_), CrLfLines({Line(2), Line(0), "a note without equals"}));
    EXPECT_EQ(rows[0].FileLine, "0");
    EXPECT_EQ(rows[1].FileLine, "");
    EXPECT_EQ(rows[2].FileLine, "1");
}

// Lines 9 and 10 deleted from a filtered view: each listed line goes once, whatever the list
// repeats, and a second apply neither appends nor removes again.
TEST_F(ListStoreTest, MergeFromAFilteredViewDeletesExactlyTheListedLinesOnce)
{
    std::string file;
    std::string merged;  // lines 9 and 10 gone, the new row at the end
    for (int i = 0; i < 12; ++i) {
        file += Line(i, i % 3 == 2) + "\r\n";
        merged += i == 9 || i == 10 ? "" : Line(i, i % 3 == 2) + "\r\n";
    }
    merged += Line(12) + "\r\n";
    WriteBytes(path_, file);
    Load(kOpen);
    auto& rows = store_.Rows();
    ASSERT_EQ(rows[6].FileLine, "9");
    rows.erase(rows.begin() + 6, rows.begin() + 8);
    rows.push_back(ParseRecordLine(Line(12)));  // a new row: no FileLine
    store_.State().DeletedFileLines = {"9", "10", "10", "x", "99", "-1"};
    ASSERT_EQ(Save(SaveMode::Merge), SaveStatus::Saved);

    EXPECT_EQ(ReadBytes(path_), merged);
    EXPECT_EQ(rows.back().FileLine, "10") << "rows are renumbered after lines were removed";

    ASSERT_EQ(Save(SaveMode::Merge), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path_), merged);
}

TEST_F(ListStoreTest, MergeRefusesAFileChangedSinceTheLoad)
{
    WriteBytes(path_, CrLfLines({Line(0), Line(1)}));
    Load(kOpen);
    store_.Rows()[0].TaskText = "edited";
    const std::string changed = CrLfLines({Line(5), Line(0), Line(1)});
    WriteBytes(path_, changed);

    EXPECT_EQ(Save(SaveMode::Merge), SaveStatus::RefusedChangedOnDisk);
    EXPECT_EQ(ReadBytes(path_), changed);
    EXPECT_EQ(store_.Rows()[0].TaskText, "edited");
    EXPECT_TRUE(sibling_.received.empty());
}

TEST_F(ListStoreTest, AFileThatCannotBeReadIsNeverOverwritten)
{
    fs::remove(path_);
    fs::create_directory(path_);  // a folder where the file should be: unreadable
    FileError error;
    EXPECT_FALSE(store_.LoadList(path_, kAll, kNow, error));
    EXPECT_FALSE(error.message.empty());
    store_.Rows().push_back(ParseRecordLine(Line(0)));
    EXPECT_EQ(Save(SaveMode::Full), SaveStatus::RefusedUnreadable);
    EXPECT_EQ(Save(SaveMode::Merge), SaveStatus::RefusedUnreadable);

    // Importing another file does not make the unreadable list file fair game.
    const auto other = folder_ / "import.tod";
    WriteBytes(other, CrLfLines({Line(8)}));
    Load(kAll, other);
    EXPECT_EQ(Save(SaveMode::Full), SaveStatus::RefusedUnreadable);

    fs::remove(path_);
    WriteBytes(path_, CrLfLines({Line(3)}));
    Load(kAll);
    EXPECT_EQ(Save(SaveMode::Full), SaveStatus::Saved);
}

// An export is a save to another file: the rows stay tied to the lines of the list file.
TEST_F(ListStoreTest, ExportingLeavesTheRowsTiedToTheListFile)
{
    const std::string list = CrLfLines({Line(0), Line(1, true), Line(2)});
    WriteBytes(path_, list);
    Load(kAll);
    store_.Rows().erase(store_.Rows().begin());
    ASSERT_EQ(Save(SaveMode::Full, folder_ / "out.tod"), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(folder_ / "out.tod"), CrLfLines({Line(1, true), Line(2)}));
    EXPECT_EQ(store_.Rows()[1].FileLine, "2");
    EXPECT_EQ(ReadBytes(path_), list);
}

// Reading rows in passing goes through the file in pieces of a fixed buffer: a list many times
// that size, with a task longer than the buffer, every line end and lines without a to-do,
// gives the rows a load gives, in order, with their line numbers, ends and texts.
TEST_F(ListStoreTest, RowsReadInPassingAreTheRowsALoadGives)
{
    std::string text;
    const std::string ends[] = {"\r\n", "\n", "\r", "\r\n"};
    for (int i = 0; i < 30000; ++i) {
        text += Line(i, i % 3 == 0);
        if (i == 12346) {
            text += std::string(700'000, 'x') + "\xA5\xA5" + std::string(1000, '\x82') + "\xA0";
        }
        text += ends[i % 4];
        if (i % 1000 == 7) {
            text += "a memo line without a task\r";
        }
    }
    text += Line(30000);  // the last line has no end
    WriteBytes(path_, text);
    Load(kOpen);
    std::vector<ToDoRecord> visited;
    FileError error;
    ASSERT_TRUE(VisitListRows(
        DiskFiles(), path_, kOpen, [&visited](ToDoRecord& row) { visited.push_back(row); }, error))
        << error.message;
    ASSERT_EQ(visited.size(), store_.Rows().size());
    const auto fields = [](const ToDoRecord& row) {
        return std::tie(row.FileLine, row.LineEnd, row.TaskText, row.StartText);
    };
    for (std::size_t i = 0; i < visited.size(); ++i) {
        ASSERT_TRUE(fields(visited[i]) == fields(store_.Rows()[i])) << "row " << i;
    }
    EXPECT_EQ(std::count_if(visited.begin(), visited.end(),
                            [](const ToDoRecord& row) { return row.TaskText.size() > 700'000; }),
              1)
        << "the long task is read whole, once";
    EXPECT_EQ(visited.back().TaskText, "task30000");
}

// Loads `path` on the "全て" tab, marks the first row changed and saves it in `mode`.
SaveStatus EditAndSave(const fs::path& path, SaveMode mode, FileError& error)
{
    ListStore store(DiskFiles());
    if (!store.LoadList(path, {}, DateTime{40'000}, error)) {
        return SaveStatus::Failed;
    }
    if (!store.Rows().empty()) {
        store.Rows()[0].TaskText = "changed";
    }
    store.State().UnsavedChanges = true;
    return store.SaveList(path, mode, error, {});
}

// Every way of reading refuses what is not a regular file of bounded size, at once: nobody ever
// writes to the pipe, and a blocking open would wait for ever. A view of a file (what
// dolvane-cli's add and done read) gives what a read gives.
TEST_F(ListStoreTest, EveryReadRefusesPipesFoldersAndOversizedFilesAlike)
{
    WriteBytes(folder_ / "list.txt", kLine + "\r\n" + kLine);
    WriteBytes(folder_ / "empty.txt", "");
    WriteBytes(folder_ / "large.txt", kLine + "\r\n");
    fs::resize_file(folder_ / "large.txt", FileSystem::kLargestReadableFile + 1);  // sparse: no disk is used
    fs::create_directory(folder_ / "folder");
    ASSERT_EQ(::mkfifo((folder_ / "pipe").c_str(), 0600), 0);
    const std::pair<const char*, std::string> cases[] = {
        {"list.txt", ""},
        {"empty.txt", ""},
        {"missing.txt", ""},
        {"large.txt", "大きすぎます"},
        {"folder", "通常のファイルではありません"},
        {"pipe", "通常のファイルではありません"},
    };
    auto reads = std::async(std::launch::async, [&] {
        for (const auto& [name, refusal] : cases) {
            FileError readError;
            FileError viewError;
            FileError visitError;
            const auto read = DiskFiles().ReadWholeFile(folder_ / name, readError);
            const auto view = DiskFiles().ViewWholeFile(folder_ / name, viewError);
            const bool visited = VisitListRows(
                DiskFiles(), folder_ / name, {}, [](ToDoRecord&) {}, visitError);
            EXPECT_EQ(read.has_value(), refusal.empty()) << name;
            EXPECT_EQ(visited, refusal.empty()) << name;
            EXPECT_NE(readError.message.find(refusal), std::string::npos) << readError.message;
            EXPECT_NE(visitError.message.find(refusal), std::string::npos) << visitError.message;
            ASSERT_EQ(view.has_value(), read.has_value()) << name;
            EXPECT_EQ(viewError.message, readError.message) << name;
            if (read) {
                EXPECT_EQ(view->bytes, read->bytes) << name;
                EXPECT_EQ(view->stamp, read->stamp) << name;
            }
        }
    });
    ASSERT_EQ(reads.wait_for(std::chrono::seconds(2)), std::future_status::ready) << "a read blocked on the pipe";
    FileError error;
    EXPECT_FALSE(DiskFiles().WriteFileAtomically(folder_ / "pipe", "x", error));
    EXPECT_TRUE(fs::is_fifo(folder_ / "pipe")) << "the pipe is not replaced";
}

// Loads `path` with room for the file and a little more, far less than its rows need: true when
// the load fails and says why.
bool LoadFailsForLackOfMemory(const fs::path& path)
{
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const auto limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (96 << 20);
    const struct rlimit bound {
        limit, limit
    };
    ::setrlimit(RLIMIT_AS, &bound);
    ListStore store(DiskFiles());
    FileError error;
    const bool loaded = store.LoadList(path, {}, DateTime{40'000}, error);
    return !loaded && error.message.find("メモリが足りません") != std::string::npos;
}

// Memory running out part-way through a load is a failed load, not the end of the program.
TEST_F(ListStoreTest, MemoryRunningOutWhileLoadingFailsTheLoad)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's allocator does not live within an address space limit";
#endif
    std::string lines;
    for (int i = 0; i < 500'000; ++i) {
        lines += kLine + "\r\n";  // 20 MB of file, far more as rows
    }
    WriteBytes(path_, lines);
    lines = {};
    EXPECT_EXIT(std::exit(LoadFailsForLackOfMemory(path_) ? 0 : 1), testing::ExitedWithCode(0), "");
}

TEST_F(ListStoreTest, ALinkStaysALinkAndItsTargetIsSaved)
{
    fs::create_directories(folder_ / "real");
    const fs::path target = folder_ / "real/list.txt";
    const fs::path link = folder_ / "link.txt";
    WriteBytes(target, kLine + "\r\n");
    fs::create_symlink(target, link);
    FileError error;
    ASSERT_EQ(EditAndSave(link, SaveMode::Merge, error), SaveStatus::Saved) << error.message;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(ReadBytes(target).find("changed"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder_ / "real/list.txt.lock")) << "writers lock beside the real file";

    const fs::path dangling = folder_ / "dangling.txt";
    fs::create_symlink(folder_ / "missing/list.txt", dangling);
    EXPECT_FALSE(DiskFiles().WriteFileAtomically(dangling, kLine, error));
    EXPECT_NE(error.message.find("リンク先"), std::string::npos) << error.message;
    EXPECT_FALSE(fs::exists(folder_ / "missing")) << "a link to nothing makes no new file";
}

// Made read-only by its owner: left alone, also by root, who could write it.
TEST_F(ListStoreTest, AReadOnlyListIsLeftAlone)
{
    ASSERT_EQ(::chmod(path_.c_str(), 0444), 0);
    FileError error;
    EXPECT_EQ(EditAndSave(path_, SaveMode::Full, error), SaveStatus::Failed);
    EXPECT_NE(error.message.find("書き込みが許可されていない"), std::string::npos) << error.message;
    EXPECT_EQ(ReadBytes(path_), kLine + "\r\n");
}

// Sees the mode of the temporary file while it is being written, or makes one of the write's
// system calls fail the way a full or read-only disk does.
class FaultyCalls final : public PosixFileSystem {
public:
    enum class Fault { None, ShortWrites, NoProgress, NoSpace, SyncFails, RenameDenied };
    explicit FaultyCalls(Fault fault = Fault::None) : fault_(fault) {}
    mode_t mode = 0;

protected:
    ssize_t Write(int fd, const void* data, std::size_t size) override
    {
        struct stat status {};
        ::fstat(fd, &status);
        mode = status.st_mode & 07777;
        if (fault_ == Fault::ShortWrites) {
            // At most 1000 bytes at a time, as a pipe or a slow disk may take them.
            return PosixFileSystem::Write(fd, data, std::min<std::size_t>(size, 1000));
        }
        if (fault_ == Fault::NoProgress) {
            // A save that kept retrying would never end; past a few tries the write fails instead,
            // and the test with it.
            if (++writes_ > kTriesWithoutProgress) {
                ADD_FAILURE() << "the save tried " << kTriesWithoutProgress << " writes that made no progress";
                return Fail(EIO);
            }
            return 0;
        }
        return fault_ == Fault::NoSpace ? Fail(ENOSPC) : PosixFileSystem::Write(fd, data, size);
    }
    int DataSync(int fd) override { return fault_ == Fault::SyncFails ? Fail(EIO) : PosixFileSystem::DataSync(fd); }
    int Rename(const char* from, const char* to) override
    {
        return fault_ == Fault::RenameDenied ? Fail(EACCES) : PosixFileSystem::Rename(from, to);
    }

private:
    static int Fail(int code)
    {
        errno = code;
        return -1;
    }
    static constexpr int kTriesWithoutProgress = 100;
    Fault fault_;
    int writes_ = 0;
};

TEST_F(ListStoreTest, AFailureMidSaveLeavesTheOldFileAndTheUnsavedRows)
{
    using Fault = FaultyCalls::Fault;
    for (const Fault fault : {Fault::NoProgress, Fault::NoSpace, Fault::SyncFails, Fault::RenameDenied}) {
        FaultyCalls files(fault);
        ListStore store(files);
        FileError error;
        ASSERT_TRUE(store.LoadList(path_, {}, DateTime{40'000}, error));
        store.Rows()[0].TaskText = "changed";
        store.State().UnsavedChanges = store.State().UndoAvailable = true;

        EXPECT_EQ(store.SaveList(path_, SaveMode::Full, error, {}), SaveStatus::Failed) << static_cast<int>(fault);
        EXPECT_FALSE(error.message.empty());
        EXPECT_EQ(ReadBytes(path_), kLine + "\r\n");
        EXPECT_TRUE(store.State().UnsavedChanges && store.State().UndoAvailable);
        EXPECT_EQ(store.Rows()[0].TaskText, "changed");
        for (const auto& entry : fs::directory_iterator(folder_.Path())) {
            EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << "no temporary file is left behind";
        }
    }
}

TEST_F(ListStoreTest, ShortWritesResumeWhereTheyStopped)
{
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += std::to_string(i) + ",";  // many chunks of 1000 bytes, the last one short
    }
    ASSERT_GT(text.size() % 1000, 0U);
    FaultyCalls files(FaultyCalls::Fault::ShortWrites);
    FileError error;
    ASSERT_TRUE(files.WriteFileAtomically(path_, text, error)) << error.message;
    EXPECT_EQ(ReadBytes(path_), text);
}

// Then it takes the mode of the list it replaces, or for a new list what the umask leaves of 0666,
// as for any file the user makes.
TEST_F(ListStoreTest, TheTemporaryFileIsPrivateUntilItIsComplete)
{
    using Case = std::tuple<std::optional<mode_t>, mode_t, mode_t>;  // the list's mode if any, umask, saved mode
    for (const auto& [existing, umask, mode] : {Case{0664, 077, 0664}, Case{{}, 027, 0640}, Case{{}, 002, 0664}}) {
        const TempFolder folder;
        const fs::path path = folder / "todolist.txt";
        if (existing) {
            WriteBytes(path, kLine + "\r\n");
            ASSERT_EQ(::chmod(path.c_str(), *existing), 0);
        }
        FaultyCalls spy;
        FileError error;
        const mode_t before = ::umask(umask);
        const bool written = spy.WriteFileAtomically(path, kLine, error);
        ::umask(before);
        ASSERT_TRUE(written) << error.message;
        EXPECT_EQ(spy.mode, 0600U);
        struct stat saved {};
        ASSERT_EQ(::stat(path.c_str(), &saved), 0);
        EXPECT_EQ(saved.st_mode & 07777, mode) << "umask " << std::oct << umask;
    }
}

TEST_F(ListStoreTest, LeftoversOfKilledSavesGoWhenTheirWriterIsGone)
{
    const std::string dead = "2147483647";  // above any pid_max: names no process
    const std::string alive = std::to_string(::getppid());
    // The first alone goes; the second is a save running in another process, the third no name
    // this program makes, the fifth another list's.
    const std::pair<std::string, bool> cases[] = {
        {"todolist.txt.tmp-" + dead + "-12345", true}, {"todolist.txt.tmp-" + alive + "-12345", false},
        {"todolist.txt.tmp-" + dead, false},           {"todolist.txt.tmp-x" + dead + "-1", false},
        {"other.txt.tmp-" + dead + "-1", false},       {"todolist.txt.lock", false}};
    for (const auto& [name, removed] : cases) {
        WriteBytes(folder_ / name, "half a list");
    }
    Load(kAll);
    for (const auto& [name, removed] : cases) {
        EXPECT_EQ(fs::exists(folder_ / name), !removed) << name;
    }
}

TEST_F(ListStoreTest, UntouchedLinesKeepTheirBytesAndLinesWithoutATaskStay)
{
    const std::string empty = "2010/05/02 09:00+=00000@\\@#@#";
    const std::string dots = "2010/05/03 09:00+=00000@\\@#@#\xA5";
    // Blanks, a tab, control bytes and a full-width space: nothing a row could show.
    const std::string blankTasks = "2010/05/04 09:00&2010/05/05 09:00+=00000@\\@#@# \t\x01\x7F\x81\x40\xA5\r\n";
    struct Case {
        const char* what;
        std::string file;
        SaveMode mode;
        std::string saved;
    };
    const std::string changed = "2010/05/01 09:00+=00000@\\@#@#changed";
    // CR CR LF gains no line; a last line without an end gets none in a merge, CR LF when a full save
    // writes notes after it.
    const std::vector<Case> cases{
        {"merge", kLine + "\r\r\n" + empty + "\n" + dots + "\r" + kLine + "3", SaveMode::Merge,
         changed + "\r\r\n" + empty + "\n" + dots + "\r" + kLine + "3"},
        {"full save", empty + "\n" + blankTasks + kLine + "\n" + kLine + "2\n" + dots, SaveMode::Full,
         changed + "\n" + kLine + "2\n" + empty + "\n" + blankTasks + dots + "\r\n"},
    };
    for (const Case& c : cases) {
        WriteBytes(path_, c.file);
        FileError error;
        ASSERT_EQ(EditAndSave(path_, c.mode, error), SaveStatus::Saved) << c.what << ": " << error.message;
        EXPECT_EQ(ReadBytes(path_), c.saved) << c.what;
    }
}

// A save by root (a script of the administrator's) keeps the owner and the group of the list it
// replaces, and a first list it makes in another account's folder is that account's, lock file
// included: the owner still saves afterwards.
TEST_F(ListStoreTest, ASaveByRootLeavesTheListToItsOwner)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file an owner or a group of another account";
    }
    constexpr uid_t kOwner = 65534;               // also the folder's owner and group
    using Case = std::tuple<bool, uid_t, gid_t>;  // a list there to replace, its owner and group
    for (const auto& [listThere, owner, group] :
         {Case{true, kOwner, kOwner}, Case{true, 0, kOwner}, Case{true, kOwner, 0}, Case{false, kOwner, kOwner}}) {
        SCOPED_TRACE(testing::Message() << (listThere ? "replaced " : "made ") << owner << ":" << group);
        const TempFolder folder;
        ASSERT_EQ(::chmod(folder.Path().c_str(), 0755), 0);
        const fs::path data = folder / "aki";
        fs::create_directory(data);
        ASSERT_EQ(::chown(data.c_str(), kOwner, kOwner), 0);
        const fs::path path = data / "todolist.txt";
        if (listThere) {
            WriteBytes(path, kLine + "\r\n");
            ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
        }
        FileError error;
        ASSERT_EQ(EditAndSave(path, SaveMode::Full, error), SaveStatus::Saved) << error.message;
        for (const fs::path& file : {path, fs::path(path.string() + ".lock")}) {
            struct stat made {};
            ASSERT_EQ(::stat(file.c_str(), &made), 0);
            EXPECT_EQ(made.st_uid, owner) << file;
            EXPECT_EQ(made.st_gid, group) << file;
        }
        if (owner != kOwner || group != kOwner) {
            continue;
        }
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kOwner) != 0 || ::setuid(kOwner) != 0) {
                ::_exit(3);
            }
            FileError ownerError;
            ::_exit(EditAndSave(path, SaveMode::Full, ownerError) == SaveStatus::Saved ? 0 : 1);
        }
        EXPECT_EQ(test::WaitForChild(child, std::chrono::seconds(30), "the owner's save"), 0)
            << "the owner's save failed";
    }
}

// A lock file that is not one is never used, and the message says which file to remove.
TEST_F(ListStoreTest, ALockFileThatIsALinkOrAFolderIsNamedForRemoval)
{
    const fs::path lock = folder_ / "todolist.txt.lock";
    for (const bool link : {false, true}) {
        fs::remove_all(lock);
        if (link) {
            fs::create_symlink(folder_ / "elsewhere", lock);
        } else {
            fs::create_directory(lock);
        }
        FileError error;
        EXPECT_EQ(EditAndSave(path_, SaveMode::Full, error), SaveStatus::Failed);
        EXPECT_NE(error.message.find("このロックファイルを削除して下さい: " + lock.string()), std::string::npos)
            << error.message;
        EXPECT_EQ(ReadBytes(path_), kLine + "\r\n");
    }
}

TEST_F(ListStoreTest, ASecondWriterWaitsForTheLockAndThenGivesUp)
{
    FileError first;
    const auto held = DiskFiles().LockListFile(path_, first);
    ASSERT_TRUE(held) << first.message;
    FileError second;
    const auto start = std::chrono::steady_clock::now();
    const auto waiting = DiskFiles().LockListFile(path_, second, 200);
    EXPECT_FALSE(waiting);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_NE(second.message.find("保存中"), std::string::npos) << second.message;
}

}  // namespace
}  // namespace dolvane
