#include "core/store/Csv.h"

#include "support/Sjis.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Sj;
using test::Utf8;

ToDoRecord RowWithTask(std::string task)
{
    ToDoRecord row;
    row.TaskText = std::move(task);
    return row;
}

TEST(CsvTest, HeaderIsTheColumnCaptions)
{
    EXPECT_EQ(CsvHeaderText(false),
              Sj("開始日時,期限（完了予定）,重要度,実行者,すべきこと,分類,進捗,残り時間,経過時間,警告,完了日時"));
    EXPECT_EQ(CsvHeaderText(true), Sj("\"開始日時\",\"期限（完了予定）\",\"重要度\",\"実行者\",\"すべきこと\",\"分類\","
                                      "\"進捗\",\"残り時間\",\"経過時間\",\"警告\",\"完了日時\""));
}

TEST(CsvTest, RowHoldsTheElevenColumnsInOrder)
{
    ToDoRecord row;
    row.StartText = "2010/05/01 09:00";
    row.Importance = "3";
    row.Executor = Sj("総務");
    row.TaskText = Sj("見積 \"A,B\" を送る");
    row.Progress = "50";
    row.RemainingText = Sj("完了");
    row.CompletedText = "2010/05/02 10:00";
    row.WarningHours = "24";  // not a column
    row.FileLine = "7";       // not a column
    row.Completed = true;

    EXPECT_EQ(Utf8(CsvRowText(row, false)), "2010/05/01 09:00,,3,総務,見積 \"A,B\" を送る,,50,完了,,,2010/05/02 10:00");
    // Enclosed: empty fields are two quotes side by side and an inner quote is doubled.
    EXPECT_EQ(Utf8(CsvRowText(row, true)),
              "\"2010/05/01 09:00\",\"\",\"3\",\"総務\",\"見積 \"\"A,B\"\" を送る\",\"\",\"50\",\"完了\",\"\",\"\","
              "\"2010/05/02 10:00\"");
}

TEST(CsvTest, LineBreaksAreJoinedOnlyWhereTheFieldHasOne)
{
    struct Case {
        const char* name;
        std::string task;
        std::string written;
    };
    const Case cases[] = {
        {"two lines", Sj("一行目\r\n二行目"), Sj("一行目･･二行目")},
        {"blanks around a break are trimmed", Sj("  一行目\r\n二行目  "), Sj("一行目･･二行目")},
        {"a final break is joined, not trimmed", Sj("一行目\r\n"), Sj("一行目･･")},
        {"trailing blanks without a break stay", Sj("  残す  "), Sj("  残す  ")},
        {"a lone LF is not a line break", "a\nb ", "a\nb "},
        // 0x82 0xA5 is "ぇ": its trail byte must not be taken for the first "･".
        {"trail byte 0xA5 before the break", Sj("ぇ\r\nx"), Sj("ぇ･･x")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8(CsvRowText(RowWithTask(c.task), false)), Utf8(",,,," + c.written + ",,,,,,")) << c.name;
    }
}

TEST(CsvTest, FileHoldsHeaderAndSelectedRowsInListOrder)
{
    std::vector<ToDoRecord> rows = {RowWithTask("a"), RowWithTask("b"), RowWithTask("c"), RowWithTask("d")};
    const std::string header = CsvHeaderText(false) + "\r\n";
    EXPECT_EQ(CsvFileText(rows, false), header) << "no row selected gives the header alone";

    rows[3].Selected = true;
    rows[1].Selected = true;
    EXPECT_EQ(CsvFileText(rows, false), header + ",,,,b,,,,,,\r\n,,,,d,,,,,,\r\n");
    EXPECT_EQ(CsvFileText(rows, true),
              CsvHeaderText(true) + "\r\n" + CsvRowText(rows[1], true) + "\r\n" + CsvRowText(rows[3], true) + "\r\n");
}

TEST(CsvTest, WriteReplacesTheFile)
{
    const test::TempFolder folder;
    const auto path = folder / "out.csv";
    test::WriteBytes(path, std::string(500, 'x'));
    std::vector<ToDoRecord> rows = {RowWithTask(Sj("作業"))};
    rows[0].Selected = true;

    FileError error;
    ASSERT_TRUE(WriteCsvFile(path, rows, true, error)) << error.message;
    EXPECT_EQ(test::ReadBytes(path), CsvFileText(rows, true));
}

}  // namespace
}  // namespace dolvane
