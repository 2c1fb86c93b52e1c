// dolvane-cli sync as a process against a real CalDAV server (Radicale, started per test), with
// the server's side read and edited by curl as another client would.
#include "core/store/FileIo.h"
#include "support/ChildProcess.h"
#include "support/ListFiles.h"
#include "support/RadicaleServer.h"
#include "support/Sjis.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <libical/ical.h>
#include <sqlite3.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace dolvane {
namespace {

namespace fs = std::filesystem;
using test::Finished;
using test::ReadBytes;
using test::Sj;
using test::WriteBytes;

// The lines of a list file in byte order, for comparing lists whose order the server decided.
std::vector<std::string> SortedLines(const fs::path& file)
{
    const std::string bytes = ReadBytes(file);
    const auto views = SplitLines(bytes);
    std::vector<std::string> lines(views.begin(), views.end());
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string Summary(const std::string& ics)
{
    icalcomponent* calendar = icalcomponent_new_from_string(ics.c_str());
    if (calendar == nullptr) {
        return {};
    }
    icalcomponent* todo = icalcomponent_get_first_component(calendar, ICAL_VTODO_COMPONENT);
    const char* summary = todo != nullptr ? icalcomponent_get_summary(todo) : nullptr;
    std::string text = summary != nullptr ? summary : "";
    icalcomponent_free(calendar);
    return text;
}

class SyncProcessTest : public testing::Test {
protected:
    SyncProcessTest()
    {
        fs::create_directories(folder_ / "program");
        fs::copy_file(DOLVANE_CLI_EXECUTABLE, Executable());
        const Finished setup =
            test::RunChild({"/bin/sh", "-c", "printf 'secret\\n' | \"$0\" sync --setup \"$1\" tester",
                            Executable().string(), server_.Url()},
                           Environment(), folder_.Path());
        EXPECT_EQ(setup.exitCode, 0) << setup.err;
        EXPECT_NE(setup.out.find(server_.CollectionUrl()), std::string::npos) << setup.out;
    }

    fs::path Executable() const { return folder_ / "program" / "dolvane-cli"; }
    fs::path List(std::string_view name = "todolist.txt") const { return folder_ / name; }

    // No session bus: the password goes to the file under this test's own configuration folder.
    std::vector<std::string> Environment() const
    {
        return {"XDG_CONFIG_HOME=" + (folder_ / "config").string(),
                "DBUS_SESSION_BUS_ADDRESS=", "XDG_RUNTIME_DIR=" + folder_.Path().string(), "TZ=Asia/Tokyo"};
    }

    // Starts a sync of the list without waiting for it, its output appended to `output`.
    pid_t StartSync(const fs::path& output = "/dev/null") const
    {
        return test::StartChild({Executable().string(), "sync", "--file", List().string()}, Environment(), output,
                                "/dev/null");
    }

    // Syncs and gives the summary line.
    std::string SyncOk(const fs::path& list) const
    {
        const Finished run =
            test::RunChild({Executable().string(), "sync", "--file", list.string()}, Environment(), folder_.Path());
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }

    Finished Curl(std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.begin(), {"/usr/bin/curl", "-sS", "-u", "tester:secret"});
        return test::RunChild(std::move(arguments), {}, folder_.Path());
    }

    // The calendar objects on the server by resource name, as a client reads them.
    std::vector<std::string> ServerNames() const
    {
        std::vector<std::string> names;
        for (const auto& entry :
             fs::directory_iterator(server_.StorageFolder() / "collection-root" / "tester" / "tasks")) {
            if (entry.path().extension() == ".ics") {
                names.push_back(entry.path().filename().string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string Get(const std::string& name) const { return Curl({server_.CollectionUrl() + name}).out; }
    std::multiset<std::string> ServerSummaries() const
    {
        std::multiset<std::string> summaries;
        for (const std::string& name : ServerNames()) {
            summaries.insert(Summary(Get(name)));
        }
        return summaries;
    }
    // The resource whose SUMMARY is `summary` (UTF-8).
    std::string NameOf(const std::string& summary) const
    {
        for (const std::string& name : ServerNames()) {
            if (Summary(Get(name)) == summary) {
                return name;
            }
        }
        ADD_FAILURE() << "no resource with SUMMARY " << summary;
        return {};
    }
    // Writes a resource as another client does.
    void Put(const std::string& name, const std::string& ics) const
    {
        WriteBytes(folder_ / "put.ics", ics);
        const Finished put =
            Curl({"-f", "-X", "PUT", "-H", "Content-Type: text/calendar; charset=utf-8", "--data-binary",
                  "@" + (folder_ / "put.ics").string(), server_.CollectionUrl() + name});
        ASSERT_EQ(put.exitCode, 0) << put.err;
    }
    // Replaces a text in a resource and writes it back, as a phone does.
    void EditOnServer(const std::string& name, const std::string& from, const std::string& to) const
    {
        std::string ics = Get(name);
        const auto at = ics.find(from);
        ASSERT_NE(at, std::string::npos) << ics;
        Put(name, ics.replace(at, from.size(), to));
    }

    test::RadicaleServer server_;
    test::TempFolder folder_;
};

TEST_F(SyncProcessTest, FirstSyncOfAnEmptyAndOfAThousandLineListThenNothingToDo)
{
    WriteBytes(List(), "");
    EXPECT_NE(SyncOk(List()).find("送信 0、受信 0"), std::string::npos);
    EXPECT_EQ(ReadBytes(List()), "");
    EXPECT_TRUE(ServerNames().empty());

    std::string list;
    for (int i = 0; i < 1000; ++i) {
        list += Sj("2024/05/01 09:00&2024/06/01 18:00+=02000@\\@#@#作業 ") + std::to_string(i) + "\r\n";
        if (i == 499) {
            list += Sj("メモ: ToDo ではない行") + "\r\n";
        }
    }
    WriteBytes(List(), list);
    // A thousand PUTs take longer than the usual limit of a child on a busy machine.
    const pid_t pid = StartSync(folder_ / "summary.txt");
    EXPECT_EQ(test::WaitForChild(pid, std::chrono::seconds(300), "first sync of 1000 to-dos"), 0);
    EXPECT_NE(ReadBytes(folder_ / "summary.txt").find("送信 1000、受信 0"), std::string::npos);
    EXPECT_EQ(ServerNames().size(), 1000u);
    EXPECT_EQ(ReadBytes(List()), list);
    EXPECT_NE(SyncOk(List()).find("送信 0、受信 0、サーバーで削除 0、リストから削除 0、競合 0"), std::string::npos);
    EXPECT_EQ(ReadBytes(List()), list);
}

TEST_F(SyncProcessTest, EditsTravelEachWayAndEveryOtherLineKeepsItsBytes)
{
    const std::string other = Sj("メモ: ToDo ではない行");
    const std::string odd = "2024/05/01 09:00+=00000@\\@#@#odd\t bytes \x81\x5C";
    WriteBytes(List(), test::CrLfLines({Sj("2024/05/01 09:00&2024/05/09 18:00+=03000@\\@#@#電話する"), other, odd}));
    SyncOk(List());
    const std::string name = NameOf("電話する");

    EditOnServer(name, "SUMMARY:電話する", "SUMMARY:電話を折り返す");
    EXPECT_NE(SyncOk(List()).find("受信 1"), std::string::npos);
    EXPECT_EQ(ReadBytes(List()),
              test::CrLfLines({Sj("2024/05/01 09:00&2024/05/09 18:00+=03000@\\@#@#電話を折り返す"), other, odd}));

    WriteBytes(List(),
               test::CrLfLines({Sj("2024/05/01 09:00&2024/05/09 18:00+=03050@\\@#@#電話を折り返した"), other, odd}));
    EXPECT_NE(SyncOk(List()).find("送信 1"), std::string::npos);
    // The same resource, edited in place.
    const std::string ics = Get(name);
    EXPECT_EQ(Summary(ics), "電話を折り返した");
    EXPECT_NE(ics.find("PERCENT-COMPLETE:50"), std::string::npos) << ics;
    EXPECT_EQ(ServerNames().size(), 2u);
}

TEST_F(SyncProcessTest, AFieldChangedOnBothSidesKeepsBothVersions)
{
    WriteBytes(List(), test::CrLfLines({Sj("2024/05/01 09:00&2024/05/09 18:00+=03000@\\@#@#会議の準備")}));
    SyncOk(List());
    const std::string name = NameOf("会議の準備");
    EditOnServer(name, "SUMMARY:会議の準備", "SUMMARY:会議の資料");
    WriteBytes(List(), test::CrLfLines({Sj("2024/05/01 09:00&2024/05/09 18:00+=03000@\\@#@#会議の議題")}));

    EXPECT_NE(SyncOk(List()).find("競合 1"), std::string::npos);
    EXPECT_EQ(SortedLines(List()), (std::vector<std::string>{
                                       Sj("2024/05/01 09:00&2024/05/09 18:00+=03000@\\@#@#（競合）会議の資料"),
                                       Sj("2024/05/01 09:00&2024/05/09 18:00+=03000@\\@#@#会議の議題"),
                                   }));
    EXPECT_EQ(ServerSummaries(), (std::multiset<std::string>{"会議の議題", "（競合）会議の資料"}));
    EXPECT_EQ(Summary(Get(name)), "会議の議題");
}

TEST_F(SyncProcessTest, DeletesTravelEachWay)
{
    const std::string keep = Sj("2024/05/01 09:00+=00000@\\@#@#残す");
    WriteBytes(List(), test::CrLfLines({keep, Sj("2024/05/01 09:00+=00000@\\@#@#ここで消す"),
                                        Sj("2024/05/01 09:00+=00000@\\@#@#サーバーで消す")}));
    SyncOk(List());
    const std::string there = NameOf("サーバーで消す");
    WriteBytes(List(), test::CrLfLines({keep, Sj("2024/05/01 09:00+=00000@\\@#@#サーバーで消す")}));
    ASSERT_EQ(Curl({"-f", "-X", "DELETE", server_.CollectionUrl() + there}).exitCode, 0);

    const std::string summary = SyncOk(List());
    EXPECT_NE(summary.find("サーバーで削除 1、リストから削除 1"), std::string::npos) << summary;
    EXPECT_EQ(ReadBytes(List()), test::CrLfLines({keep}));
    EXPECT_EQ(ServerSummaries(), std::multiset<std::string>{"残す"});
}

TEST_F(SyncProcessTest, ARepeatingToDoOfAnotherProgramIsNamedOnceAndLeftAlone)
{
    const std::string ics = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//other//EN\r\nBEGIN:VTODO\r\n"
                            "UID:weekly-1\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240101T090000Z\r\n"
                            "RRULE:FREQ=WEEKLY\r\nSUMMARY:毎週のごみ出し\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
    Put("weekly-1.ics", ics);
    const std::string stored = Get("weekly-1.ics");
    WriteBytes(List(), "");

    EXPECT_NE(SyncOk(List()).find("繰り返しの ToDo は同期しません: 毎週のごみ出し"), std::string::npos);
    EXPECT_EQ(SyncOk(List()).find("毎週"), std::string::npos);
    EXPECT_EQ(ReadBytes(List()), "");
    EXPECT_EQ(Get("weekly-1.ics"), stored);
}

TEST_F(SyncProcessTest, AnotherProgramsToDoKeepsWhatCp932CannotHoldUntilEditedHere)
{
    // No DTSTART: CREATED is the start, in the zone of the test (Asia/Tokyo).
    const std::string ics = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//phone//EN\r\nBEGIN:VTODO\r\n"
                            "UID:phone-1\r\nDTSTAMP:20240301T000000Z\r\nCREATED:20240301T000000Z\r\n"
                            "SUMMARY:絵文字😀を含む\r\nX-PHONE-COLOUR:red\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
    Put("phone-1.ics", ics);
    const std::string stored = Get("phone-1.ics");
    WriteBytes(List(), "");
    SyncOk(List());
    const std::string line = Sj("2024/03/01 09:00+=00000@\\@#@#絵文字〓を含む");
    EXPECT_EQ(ReadBytes(List()), test::CrLfLines({line}));
    SyncOk(List());
    EXPECT_EQ(Get("phone-1.ics"), stored);

    WriteBytes(List(), test::CrLfLines({Sj("2024/03/01 09:00+=00040@\\@#@#絵文字〓を含む")}));
    EXPECT_NE(SyncOk(List()).find("送信 1"), std::string::npos);
    const std::string sent = Get("phone-1.ics");
    EXPECT_NE(sent.find("PERCENT-COMPLETE:40"), std::string::npos) << sent;
    EXPECT_NE(sent.find("X-PHONE-COLOUR:red"), std::string::npos) << sent;
}

TEST_F(SyncProcessTest, ADeleteRefusedWithA412KeepsTheServersEdit)
{
    // List b syncs after the server's edit; list a is then handed b's sync token, so its listing
    // misses the edit, exactly as when the edit lands between a's listing and its DELETE.
    const std::string line = Sj("2024/05/01 09:00+=00000@\\@#@#書類を出す");
    WriteBytes(List("a.txt"), test::CrLfLines({line}));
    SyncOk(List("a.txt"));
    EditOnServer(NameOf("書類を出す"), "SUMMARY:書類を出す", "SUMMARY:書類を郵送する");
    WriteBytes(List("b.txt"), "");
    SyncOk(List("b.txt"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((folder_ / "a.txt.sync.sqlite").c_str(), &db), SQLITE_OK);
    const std::string attach = "ATTACH '" + (folder_ / "b.txt.sync.sqlite").string() +
                               "' AS b; UPDATE collection SET sync_token = (SELECT sync_token FROM b.collection)";
    EXPECT_EQ(sqlite3_exec(db, attach.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);

    WriteBytes(List("a.txt"), "");
    SyncOk(List("a.txt"));
    EXPECT_EQ(ReadBytes(List("a.txt")), test::CrLfLines({Sj("2024/05/01 09:00+=00000@\\@#@#書類を郵送する")}));
    EXPECT_EQ(ServerSummaries(), std::multiset<std::string>{"書類を郵送する"});
}

TEST_F(SyncProcessTest, SyncsStoppedHalfWayAreFinishedWithoutDuplicatesOrLosses)
{
    constexpr std::size_t kCount = 120;
    std::string list;
    std::multiset<std::string> summaries;
    for (std::size_t i = 0; i < kCount; ++i) {
        list += Sj("2024/05/01 09:00+=00000@\\@#@#項目 ") + std::to_string(i) + "\r\n";
        summaries.insert("項目 " + std::to_string(i));
    }
    WriteBytes(List(), list);
    const auto waitForResources = [&](std::size_t count, pid_t pid) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (ServerNames().size() < count && std::chrono::steady_clock::now() < limit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_GE(ServerNames().size(), count);
        ASSERT_EQ(::waitpid(pid, nullptr, WNOHANG), 0) << "the sync ended before it could be stopped";
    };

    // The program killed between PUTs, then the server killed under a second pass.
    pid_t pid = StartSync();
    waitForResources(30, pid);
    ::kill(pid, SIGKILL);
    test::WaitForChild(pid, std::chrono::seconds(10), "killed sync");
    pid = StartSync();
    waitForResources(ServerNames().size() + 30, pid);
    server_.Kill();
    EXPECT_EQ(test::WaitForChild(pid, std::chrono::seconds(30), "sync without its server"), 2);
    EXPECT_EQ(ReadBytes(List()), list);

    server_.Start();
    SyncOk(List());
    EXPECT_EQ(ServerSummaries(), summaries);
    EXPECT_EQ(ReadBytes(List()), list);
    EXPECT_NE(SyncOk(List()).find("送信 0、受信 0"), std::string::npos);
}

// Lines of every shape a list holds: start only, a deadline, completion with and without a
// deadline, warning hours, an executor and a category, a multi-line task, half-width kana,
// midnight and the turn of a year. Each comes back byte for byte into the other list.
TEST_F(SyncProcessTest, TwoListsThroughOneCollectionEndWithTheSameToDos)
{
    const std::string shapes = test::CrLfLines({
        Sj("2024/05/01 09:00+=00000@\\@#@#始めるだけ"),
        Sj("2024/05/01 09:00&2024/05/09 18:00+24=03050総務@\\@仕事#@#報告書を書く･･提出する"),
        Sj("2024/05/01 09:00&2024/05/05 09:00|2024/05/04 10:30+=11100山田@\\@仕事#@#見積もり"),
        Sj("2024/05/01 09:00|2024/05/02 09:00+=10100@\\@#@#期限なしで完了"),
        Sj("2024/05/20 00:00&2024/05/30 00:00+=04000@\\@#@#ﾚﾎﾟｰﾄの提出"),
        Sj("2024/12/31 23:59&2025/01/01 00:00+1=05000@\\@家庭#@#年越し････二行空けて"),
    });
    WriteBytes(List("a.txt"), shapes);
    WriteBytes(List("b.txt"), test::CrLfLines({Sj("2024/05/03 09:00&2024/05/04 09:00+5=12100@\\@#@#Bの一")}));
    for (int round = 0; round < 2; ++round) {
        SyncOk(List("a.txt"));
        SyncOk(List("b.txt"));
    }
    EXPECT_TRUE(ReadBytes(List("a.txt")).starts_with(shapes));
    EXPECT_EQ(SortedLines(List("a.txt")), SortedLines(List("b.txt")));
    EXPECT_EQ(SortedLines(List("a.txt")).size(), 7u);
    EXPECT_EQ(ServerNames().size(), 7u);
}

}  // namespace
}  // namespace dolvane
