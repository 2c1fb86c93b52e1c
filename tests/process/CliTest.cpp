// Runs the built dolvane-cli as a process on list and holiday files of the test's own making.
#include "core/store/FileIo.h"
#include "support/ChildProcess.h"
#include "support/ListFiles.h"
#include "support/Sjis.h"
#include "support/StandInSibling.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

namespace dolvane {
namespace {

namespace fs = std::filesystem;
using test::Finished;
using test::ReadBytes;
using test::Sj;
using test::TempFolder;
using test::WriteBytes;
using namespace std::string_literals;

constexpr const char* kNow = "2010/05/10 12:00";

// The list the tests start from (cp932, CR LF). Line 2 is not a to-do, line 7 ends in half a
// double-byte character, line 6 holds a backslash, a double-byte character whose trail byte is
// 0x5C (ソ) and a tab.
std::string PreparedList()
{
    return test::CrLfLines({
        Sj("2010/05/01 09:00&2010/05/09 18:00+24=03050総務@\\@仕事#@#報告書を書く･･提出する"),
        Sj("2010/05/08 09:00&2010/05/11 00:00+24=02000@\\@家庭#@#りんごを買う"),
        Sj("メモ: この行は ToDo ではない"),
        Sj("2010/05/01 09:00&2010/05/05 09:00|2010/05/09 09:00+=11100山田@\\@仕事#@#見積もり"),
        Sj("2010/03/01 09:00|2010/04/01 09:00+=10100@\\@#@#古い作業"),
        Sj("2010/05/20 09:00&2010/05/30 18:00+=04000@\\@#@#ﾚﾎﾟｰﾄの提出"),
        Sj("2010/05/01 09:00+=00000@\\@#@#Abc\\ソフト\tend"),
        "2010/05/01 09:00+=00000@\\@#@#bad\x81",
    });
}

class CliTest : public testing::Test {
protected:
    CliTest()
    {
        fs::create_directories(folder_ / "program");
        fs::copy_file(DOLVANE_CLI_EXECUTABLE, Executable());
        WriteBytes(ListFile(), PreparedList());
    }

    fs::path Executable() const { return folder_ / "program" / "dolvane-cli"; }
    fs::path ListFile() const { return folder_ / "todolist.txt"; }

    // Runs the installed copy with `arguments`; `environment` entries come on top of this process's.
    Finished Start(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {}) const
    {
        std::vector<std::string> argv{Executable().string()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return test::RunChild(std::move(argv), environment, folder_.Path());
    }

    Finished List(std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.begin(), {"list", "--file", ListFile().string(), "--now", kNow});
        return Start(arguments);
    }

    // The first field of every output line: the file line numbers of the listed rows.
    static std::vector<std::string> FileLines(const std::string& tsv)
    {
        std::vector<std::string> numbers;
        for (const std::string_view line : SplitLines(tsv)) {
            numbers.emplace_back(line.substr(0, line.find('\t')));
        }
        return numbers;
    }

    TempFolder folder_;
};

TEST_F(CliTest, EachViewListsTheRowsItsTabWouldShow)
{
    struct Case {
        std::vector<std::string> options;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {{}, {"0", "1", "3", "4", "5", "6", "7"}},
        {{"--view", "none"}, {"4", "5", "6", "7"}},
        {{"--view", "open"}, {"0", "1", "5", "6", "7"}},
        {{"--view", "done"}, {"3", "4"}},
        {{"--view", "open", "--category", "仕事"}, {"0"}},
        {{"--search", "報告"}, {"0"}},
        {{"--search", "abc", "--exact"}, {}},
        {{"--search", "abc", "--fold"}, {"6"}},
        // Without the conversion library a fold only lowers case: hiragana does not find kana.
        {{"--search", "れぽーと", "--fold"}, {}},
        {{"--view", "search"}, {}},
    };
    for (const auto& [options, lines] : cases) {
        std::vector<std::string> arguments{"--format", "tsv"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const Finished run = List(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(FileLines(run.out), lines) << testing::PrintToString(options);
    }
}

TEST_F(CliTest, AFoldingSearchUsesTheLibraryBesideTheExecutable)
{
    fs::copy_file(CHARCONV_LIBRARY, folder_ / "program" / "libCharacterConversion.so");
    // Hiragana finds the task written in half-width katakana only through the library.
    EXPECT_EQ(FileLines(List({"--format", "tsv", "--search", "れぽーと", "--fold"}).out),
              std::vector<std::string>{"5"});
    EXPECT_TRUE(List({"--format", "tsv", "--search", "れぽーと", "--exact"}).out.empty());
}

TEST_F(CliTest, TsvCarriesTheComputedTextsTheStateAndEscapes)
{
    const Finished run = List({"--format", "tsv", "--keep-days", "7"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string_view> expected = {
        "0\t0\t2010/05/01 09:00\t2010/05/09 "
        "18:00\t3\t総務\t報告書を書く\\n提出する\t仕事\t50\tover\t9日3時間\t1日\t\t24\t"
        "overdue",
        "1\t0\t2010/05/08 09:00\t2010/05/11 00:00\t2\t\tりんごを買う\t家庭\t0\t12:00分\t2日3時間\t1日\t\t24\twarning",
        "3\t1\t2010/05/01 09:00\t2010/05/05 09:00\t1\t山田\t見積もり\t仕事\t100\t完了\t8日\t\t2010/05/09 "
        "09:00\t\tcompleted",
        "4\t1\t2010/03/01 09:00\t\t0\t\t古い作業\t\t100\t完了\t31日\t\t2010/04/01 09:00\t\tcompleted-old",
        "5\t0\t2010/05/20 09:00\t2010/05/30 18:00\t4\t\tﾚﾎﾟｰﾄの提出\t\t0\t\t待機\t\t\t\tnormal",
        "6\t0\t2010/05/01 09:00\t\t0\t\tAbc\\\\ソフト\\tend\t\t0\t無期限\t9日3時間\t\t\t\tnormal",
        "7\t0\t2010/05/01 09:00\t\t0\t\tbad\xEF\xBF\xBD\t\t0\t無期限\t9日3時間\t\t\t\tnormal",
    };
    EXPECT_EQ(SplitLines(run.out), expected);
}

TEST_F(CliTest, CsvIsTheWindowsExportInUtf8OrByteForByteInCp932)
{
    const Finished utf8 = List({"--format", "csv", "--view", "done"});
    ASSERT_EQ(utf8.exitCode, 0) << utf8.err;
    EXPECT_EQ(utf8.out,
              test::CrLfLines({
                  "開始日時,期限（完了予定）,重要度,実行者,すべきこと,分類,進捗,残り時間,経過時間,警告,完了日時",
                  "2010/05/01 09:00,2010/05/05 09:00,1,山田,見積もり,仕事,100,完了,8日,,2010/05/09 09:00",
                  "2010/03/01 09:00,,0,,古い作業,,100,完了,31日,,2010/04/01 09:00",
              }));
    const Finished cp932 = List({"--format", "csv", "--view", "done", "--cp932"});
    EXPECT_EQ(cp932.out, Sj(utf8.out));
}

// Every text field goes out as a JSON string that reads back as the field: quotes, backslashes
// and control bytes escaped, a stored line break as one \n, and ソ's trail byte 0x5C left as it is.
TEST_F(CliTest, JsonReadsBackAsTheFieldsWhateverTheyHold)
{
    WriteBytes(ListFile(), Sj("2010/05/01 09:00+=00000a\"b\\c@\\@\x01\x1F/#@#q\"\tソ･･y\x7F\r\n") +
                               "2010/05/01 09:00+=00000@\\@#@#x\r\n");
    const Finished json = List({"--format", "json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    WriteBytes(folder_ / "list.json", json.out);
    // Each row's line number, executor, category and task as a parser decodes them, NUL after each.
    const char* const script =
        "import json, sys\n"
        "for row in json.load(open(sys.argv[1], encoding='utf-8')):\n"
        "    for value in (str(row['fileLine']), row['executor'], row['category'], row['task']):\n"
        "        sys.stdout.write(value + '\\0')\n";
    const Finished parsed =
        test::RunChild({"/usr/bin/python3", "-c", script, (folder_ / "list.json").string()}, {}, folder_.Path());
    ASSERT_EQ(parsed.exitCode, 0) << parsed.err << json.out;
    EXPECT_EQ(parsed.out, "0\0a\"b\\c\0\x01\x1F/\0q\"\tソ\ny\x7F\0"
                          "1\0\0\0x\0"s);
}

// The line is appended after every other line as it was; an input method's wave dash is stored
// as cp932's. The first to-do of a new user makes the list file, with the window's defaults for
// every field but the task.
TEST_F(CliTest, AnAddedToDoIsAppendedOrMakesTheListAndItsLineNumberIsPrinted)
{
    const Finished add = Start({"add", "--file", ListFile().string(), "--now", kNow, "--task", "新しい\u301C\n二行",
                                "--deadline", "2010/05/12 09:00", "--importance", "4", "--executor", "自分",
                                "--category", "仕事", "--progress", "20", "--warning-hours", "48"});
    ASSERT_EQ(add.exitCode, 0) << add.err;
    EXPECT_EQ(add.out, "8\n");
    EXPECT_EQ(ReadBytes(ListFile()),
              PreparedList() + Sj("2010/05/10 12:00&2010/05/12 09:00+48=04020自分@\\@仕事#@#新しい～･･二行\r\n"));

    fs::remove(ListFile());
    const Finished first = Start({"add", "--task", "first", "--now", kNow, "--file", ListFile().string()});
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, "0\n");
    EXPECT_EQ(ReadBytes(ListFile()), "2010/05/10 12:00+=00000@\\@#@#first\r\n");
}

TEST_F(CliTest, DoneRewritesOnlyItsOwnLine)
{
    const Finished done = Start({"done", "1", "--file", ListFile().string(), "--now", kNow});
    ASSERT_EQ(done.exitCode, 0) << done.err;
    EXPECT_EQ(done.out, "1\n");
    std::string expected = PreparedList();
    const std::string before = Sj("2010/05/08 09:00&2010/05/11 00:00+24=02000@\\@家庭#@#りんごを買う");
    expected.replace(expected.find(before), before.size(),
                     Sj("2010/05/08 09:00&2010/05/11 00:00|2010/05/10 12:00+24=12000@\\@家庭#@#りんごを買う"));
    EXPECT_EQ(ReadBytes(ListFile()), expected);

    // Already completed: nothing to do, nothing written.
    const Finished again = Start({"done", "3", "--file", ListFile().string()});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(ReadBytes(ListFile()), expected);
}

// Every way to get a command wrong ends with 2 and one line on stderr, before anything is written.
// A blank task is refused in the window's words and one with a control byte by where it stands
// (a byte of the UTF-8 argument); done names a line that holds no to-do: no "=" (line 2), a task
// of control bytes only (line 8), none at all (line 9).
TEST_F(CliTest, WrongCommandsAreRefusedAndNothingIsWritten)
{
    const std::string list = PreparedList() + "2010/05/01 09:00+=00000@\\@#@#\x01\x1F\r\n";
    WriteBytes(ListFile(), list);
    const std::string f = ListFile().string();
    const std::string control = "--task の 4 バイト目に制御文字があります (タブと改行のほかは入れられません)";
    const struct {
        std::vector<std::string> arguments;
        std::string error;  // a part of the message
    } cases[] = {
        {{"add", "--file", f, "--task", "x", "--importance", "9"}, ""},
        {{"add", "--file", f, "--task", "絵文字😀"}, ""},
        {{"add", "--file", f, "--task", "   "}, "すべきことを入力してください。"},
        {{"add", "--file", f, "--task", "a\tb\x7F"}, control},
        {{"add", "--file", f, "--task", "あ\x1B[31m"}, control},
        {{"add", "--file", f, "--importance", "1"}, ""},
        {{"add", "--file", f, "--task", "x", "--bogus", "1"}, "不明なオプションです: --bogus"},
        {{"add", "--file", f, "--task", "x", "--task", "y"}, "二度指定"},
        {{"add", "--file", f, "--task"}, "--task の値がありません"},
        {{"done", "--file", f}, ""},
        {{"done", "2", "--file", f}, "2 行目は ToDo ではありません"},
        {{"done", "8", "--file", f}, "8 行目は ToDo ではありません"},
        {{"done", "9", "--file", f}, "9 行目は ToDo ではありません"},
        {{"done", "x", "--file", f}, ""},
        {{"export", "--file", f}, "--format"},
        {{"export", "--format", "csv", "--file", f}, "--format"},
        {{"export", "--format", "ics", "--cp932", "--file", f}, "不明なオプションです: --cp932"},
        {{"list", "--view", "later"}, ""},
        {{"list", "--format", "xml"}, ""},
        {{"list", "--now", "2010/02/30 10:00"}, "'2010/02/30 10:00'"},
        {{"list", "--keep-days", "61"}, ""},
        {{"list", "--exact", "--fold"}, ""},
        {{"list", "--category", "仕事"}, ""},
        {{"list", "--cp932"}, ""},
        {{"list", "--file", folder_.Path().string()}, ""},
        {{"list", "stray"}, "余分な引数があります: stray"},
        {{"frobnicate"}, ""},
        {{"holidays"}, ""},
        {{"holidays", "--year", "2010", "--holiday-file", "/nonexistent/NationalHoliday.txt"}, ""},
        {{"calendar", "--month", "2010/13"}, ""},
        {{"calendar", "--month", "2010-05"}, ""},
        {{"calendar", "--month", "10000/01"}, ""},
    };
    for (const auto& [arguments, error] : cases) {
        const Finished run = Start(arguments);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(arguments);
        EXPECT_TRUE(run.err.starts_with("dolvane-cli: ") && run.err.ends_with("\n")) << run.err;
        EXPECT_NE(run.err.find(error), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(ReadBytes(ListFile()), list);
    // No command at all: the usage, on stderr.
    EXPECT_EQ(Start({}).exitCode, 2);
    EXPECT_NE(Start({}).err.find("使い方"), std::string::npos);
    EXPECT_EQ(Start({"--help"}).exitCode, 0);
}

TEST_F(CliTest, AFileChangedBetweenLoadAndSaveIsNotWrittenOver)
{
    const std::vector<std::string> environment = {
        std::string("LD_PRELOAD=") + CHANGE_BEHIND_LIBRARY,
        "DOLVANE_TEST_CHANGE_FILE=" + ListFile().string(),
        "ASAN_OPTIONS=verify_asan_link_order=0",
    };
    // The list read, or none yet: then the other program makes it.
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"add", "--task", "x"}, PreparedList()},
        {{"done", "0"}, PreparedList()},
        {{"add", "--task", "x"}, ""},
    };
    for (const auto& [command, read] : cases) {
        SCOPED_TRACE(command[0] + (read.empty() ? " on a missing list" : ""));
        fs::remove(ListFile());
        if (!read.empty()) {
            WriteBytes(ListFile(), read);
        }
        std::vector<std::string> arguments(command);
        arguments.insert(arguments.end(), {"--file", ListFile().string()});
        const Finished run = Start(arguments, environment);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find("他のプログラムで変更"), std::string::npos) << run.err;
        // The other program's lines are there, and nothing of the command's own.
        std::string rest = ReadBytes(ListFile());
        ASSERT_TRUE(rest.starts_with(read));
        rest.erase(0, read.size());
        EXPECT_FALSE(rest.empty());
        for (std::size_t at = 0; at < rest.size(); at += std::string_view("changed elsewhere\r\n").size()) {
            EXPECT_EQ(rest.substr(at, 19), "changed elsewhere\r\n");
        }
    }
}

TEST_F(CliTest, SavesTellTheSiblingAndRefusedSavesDoNot)
{
    const fs::path runtime = folder_ / "runtime";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    const test::StandInSibling sibling((runtime / ("ピマロ-" + std::to_string(::geteuid()))).string());
    ASSERT_TRUE(sibling.Listening());
    const std::vector<std::string> environment = {"XDG_RUNTIME_DIR=" + runtime.string()};
    EXPECT_EQ(Start({"add", "--task", "x", "--file", ListFile().string()}, environment).exitCode, 0);
    EXPECT_EQ(Start({"done", "0", "--file", ListFile().string()}, environment).exitCode, 0);
    EXPECT_EQ(Start({"done", "2", "--file", ListFile().string()}, environment).exitCode, 2);
    // Each command waited for the answer to its notice before it ended.
    const test::StandInSibling::Record notice{0, 5, "VelkA"};
    EXPECT_EQ(sibling.Records(), (std::vector{notice, notice}));
}

// Output that did not arrive is a failure, said on stderr, whatever the command did before it. A
// reader that stops early (`| head`) ends the run as the pipe signal does, without a word, also
// when the caller ignores that signal.
TEST_F(CliTest, OutputThatCannotBeWrittenFailsTheRunAndAnEarlyReaderEndsItQuietly)
{
    std::string lines;
    for (int i = 0; i < 4000; ++i) {
        lines += Sj("2010/05/01 09:00+=00000@\\@#@#長い一覧の行です") + "\r\n";
    }
    WriteBytes(ListFile(), lines);
    const std::string list = ListFile().string();
    const std::string failed = "出力を書き込めませんでした";
    const char* const head = R"("$0" "$@" | head -c 1 > /dev/null; exit ${PIPESTATUS[0]})";
    const struct {
        std::string shell;
        std::vector<std::string> arguments;
        int exitCode;
        std::string error;  // a part of stderr; empty: nothing at all
    } cases[] = {
        {R"("$0" "$@" > /dev/full)", {"list", "--file", list, "--now", kNow}, 2, failed},
        {R"("$0" "$@" > /dev/full)", {"add", "--task", "x", "--file", list}, 2, failed},
        {R"("$0" "$@" >&-)", {"list", "--file", list, "--now", kNow}, 2, failed},
        {head, {"list", "--file", list, "--now", kNow}, 128 + SIGPIPE, ""},
        {std::string("trap '' PIPE;") + head, {"list", "--file", list, "--now", kNow}, 128 + SIGPIPE, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> argv{"/bin/bash", "-c", c.shell, Executable().string()};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const Finished run = test::RunChild(argv, {}, folder_.Path());
        EXPECT_EQ(run.exitCode, c.exitCode) << c.shell << " " << c.arguments.front();
        if (c.error.empty()) {
            EXPECT_EQ(run.err, "") << c.shell;
        } else {
            EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
        }
    }
}

// The word of each kind of day a rule file gives but the shipped one does not: the marked days
// on Sundays move nothing. (Days the rules derive are the holiday calendar's.)
TEST_F(CliTest, HolidaysOfARuleFileNameTheirKind)
{
    const fs::path rules = folder_ / "NationalHoliday.txt";
    WriteBytes(rules, Sj("02/14=&バレンタイン\r\n07/07=$七夕\r\n06/10=Time Day\r\n"));
    const Finished run = Start({"holidays", "--year", "2010", "--holiday-file", rules.string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "2010/02/14\tバレンタイン\tmarked2\n2010/06/10\tTime Day\tplain\n2010/07/07\t七夕\tmarked\n");
}

// The rule file shipped in the program's data folder, read when the sibling does not host the
// program: Japan's sixteen national holidays of 2026 and the two days they make.
TEST_F(CliTest, TheShippedHolidayFileGivesJapansHolidays)
{
    fs::create_directories(folder_ / "program" / "data");
    fs::copy_file(SHIPPED_HOLIDAY_FILE, folder_ / "program" / "data" / "NationalHoliday.txt");
    const Finished run = Start({"holidays", "--year", "2026"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(
        run.out,
        "2026/01/01\t元日\tordinary\n2026/01/12\t成人の日\tordinary\n2026/02/11\t建国記念の日\tordinary\n"
        "2026/02/23\t天皇誕生日\tordinary\n2026/03/20\t春分の日\tordinary\n2026/04/29\t昭和の日\tordinary\n"
        "2026/05/03\t憲法記念日\tordinary\n2026/05/04\tみどりの日\tordinary\n2026/05/05\tこどもの日\tordinary\n"
        "2026/05/06\t振替休日\tderived\n2026/07/20\t海の日\tordinary\n2026/08/11\t山の日\tordinary\n"
        "2026/09/21\t敬老の日\tordinary\n2026/09/22\t国民の休日\tderived\n2026/09/23\t秋分の日\tordinary\n"
        "2026/10/12\tスポーツの日\tordinary\n2026/11/03\t文化の日\tordinary\n2026/11/23\t勤労感謝の日\tordinary\n");
}

TEST_F(CliTest, TheCalendarShowsTheMonthGridWithItsToDosAndHolidays)
{
    const fs::path rules = folder_ / "NationalHoliday.txt";
    WriteBytes(rules, Sj("05/03=憲法記念日\r\n"));
    const Finished run =
        Start({"calendar", "--month", "2010/05", "--file", ListFile().string(), "--holiday-file", rules.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // May 2010 starts on a Saturday, so the grid opens on the Sunday before it; six weeks.
    EXPECT_EQ(SplitLines(run.out)[0], "2010/05");
    EXPECT_EQ(SplitLines(run.out)[2], "2010/04/25 (日)");
    EXPECT_NE(run.out.find("2010/06/05 (土)"), std::string::npos);
    EXPECT_EQ(run.out.find("2010/06/06"), std::string::npos);
    // A span shows every day with the day its progress reaches; the task head is 20 bytes.
    const std::string item = "    0: 報告書を書く / 提出す  09:00-18:00  進捗 2010/05/05 050\n";
    EXPECT_NE(run.out.find("2010/05/03 (月) 憲法記念日\n" + item), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("2010/05/09 (日)\n" + item), std::string::npos);
    EXPECT_EQ(run.out.find("2010/05/10 (月)\n" + item), std::string::npos);
}

// 9999/12/31 is a Friday: the grid stops there rather than run on into a year "0000".
TEST_F(CliTest, TheLastMonthEndsOnTheLastDay)
{
    const Finished run = Start({"calendar", "--month", "9999/12", "--file", ListFile().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.out.ends_with("\n9999/12/30 (木)\n9999/12/31 (金)\n")) << run.out;
    EXPECT_EQ(run.out.find("0000/"), std::string::npos);
}

}  // namespace
}  // namespace dolvane
