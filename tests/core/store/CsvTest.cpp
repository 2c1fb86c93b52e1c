#include "core/store/Csv.h"

#include "core/store/RecordLine.h"
#include "support/DiskFiles.h"
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

TEST(CsvTest, RowHoldsTheElevenColumnsInOrder)
{
    // The warning hours are no column.
    ToDoRecord row = ParseRecordLine(Sj("2010/05/01 09:00|2010/05/02 10:00+24=13050総務@\\@#@#見積 \"A,B\" を送る"));
    row.RemainingText = Sj("完了");

    // Without enclosing only the field that needs it is enclosed.
    EXPECT_EQ(Utf8(CsvRowText(row, false)),
              "2010/05/01 09:00,,3,総務,\"見積 \"\"A,B\"\" を送る\",,50,完了,,,2010/05/02 10:00");
    // Enclosed: empty fields are two quotes side by side and an inner quote is doubled.
    EXPECT_EQ(Utf8(CsvRowText(row, true)),
              "\"2010/05/01 09:00\",\"\",\"3\",\"総務\",\"見積 \"\"A,B\"\" を送る\",\"\",\"50\",\"完了\",\"\",\"\","
              "\"2010/05/02 10:00\"");
}

// Counts the fields of a CSV line as a reader does: commas outside double quotes, "" inside.
int FieldCount(std::string_view line)
{
    int fields = 1;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;  // a doubled quote toggles twice
        } else if (c == ',' && !quoted) {
            ++fields;
        }
    }
    return fields;
}

TEST(CsvTest, WithoutEnclosingAFieldIsEnclosedOnlyWhenItHoldsACommaOrAQuote)
{
    struct Case {
        const char* task;
        const char* written;
    };
    const Case cases[] = {
        {"資料A,資料Bを印刷", "\"資料A,資料Bを印刷\""},
        {"5\"の画面", "\"5\"\"の画面\""},
        {"\"", "\"\"\"\""},
        {",", "\",\""},
        {"引用符も読点もない", "引用符も読点もない"},
        {"ソース、テスト", "ソース、テスト"},  // a full-width comma is no separator
        {"表示", "表示"},                      // 0x95 0x5C: the trail byte is no quote or comma
    };
    for (const Case& c : cases) {
        const std::string line = CsvRowText(RowWithTask(Sj(c.task)), false);
        EXPECT_EQ(Utf8(line), std::string(",,,,") + c.written + ",,,,,,") << c.task;
        EXPECT_EQ(FieldCount(line), 11) << c.task;
    }
}

TEST(CsvTest, TheHeaderFollowsTheCaptionOfColumnEight)
{
    EXPECT_EQ(Utf8(CsvHeaderText(false)),
              "開始日時,期限（完了予定）,重要度,実行者,すべきこと,分類,進捗,残り時間,経過時間,警告,完了日時");
    EXPECT_EQ(Utf8(CsvHeaderText(false, true)),
              "開始日時,期限（完了予定）,重要度,実行者,すべきこと,分類,進捗,残り時間,経過率,警告,完了日時");
    EXPECT_EQ(Utf8(CsvHeaderText(true, true)),
              "\"開始日時\",\"期限（完了予定）\",\"重要度\",\"実行者\",\"すべきこと\",\"分類\","
              "\"進捗\",\"残り時間\",\"経過率\",\"警告\",\"完了日時\"");
}

// Blanks are trimmed and breaks joined only in a field that has a line break.
TEST(CsvTest, LineBreaksAreJoinedOnlyWhereTheFieldHasOne)
{
    for (const auto& [task, written] : {std::pair{"一行目\r\n二行目", "一行目･･二行目"},
                                        {"  一行目\r\n二行目  ", "一行目･･二行目"},
                                        {"  残す  ", "  残す  "}}) {
        EXPECT_EQ(Utf8(CsvRowText(RowWithTask(Sj(task)), false)), std::string(",,,,") + written + ",,,,,,") << task;
    }
}

TEST(CsvTest, FileHoldsHeaderAndSelectedRowsInListOrder)
{
    std::vector<ToDoRecord> rows = {RowWithTask("a"), RowWithTask("b"), RowWithTask("c"), RowWithTask("d")};
    const std::string header = CsvHeaderText(false) + "\r\n";
    EXPECT_EQ(CsvFileText(rows, false), header);

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
    ASSERT_TRUE(WriteCsvFile(test::DiskFiles(), path, rows, true, false, error)) << error.message;
    EXPECT_EQ(test::ReadBytes(path), CsvFileText(rows, true));
}

}  // namespace
}  // namespace dolvane
