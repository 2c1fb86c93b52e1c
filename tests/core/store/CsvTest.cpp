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

// Without enclosing only a field holding a comma or a quote is enclosed; line breaks are joined,
// and blanks trimmed, only in a field that has one.
TEST(CsvTest, AFieldIsEnclosedOrJoinedOnlyWhenItMustBe)
{
    struct Case {
        const char* task;
        const char* written;
    };
    const Case cases[] = {
        {"資料A,資料Bを印刷", "\"資料A,資料Bを印刷\""},
        {"5\"の画面", "\"5\"\"の画面\""},
        {"ソース、テスト", "ソース、テスト"},  // a full-width comma is no separator
        {"表示", "表示"},                      // 0x95 0x5C: the trail byte is no quote or comma
        {"  一行目\r\n二行目  ", "一行目･･二行目"},
        {"  残す  ", "  残す  "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8(CsvRowText(RowWithTask(Sj(c.task)), false)), std::string(",,,,") + c.written + ",,,,,,")
            << c.task;
    }
}

// The caption line and the selected rows in list order, each ended by CR LF, in place of what
// the file held; a row's eleven columns in order (the warning hours are no column).
TEST(CsvTest, TheFileHoldsTheHeaderAndTheSelectedRowsInListOrder)
{
    const test::TempFolder folder;
    const auto path = folder / "out.csv";
    test::WriteBytes(path, std::string(500, 'x'));
    ToDoRecord full = ParseRecordLine(Sj("2010/05/01 09:00|2010/05/02 10:00+24=13050総務@\\@#@#見積"));
    full.RemainingText = Sj("完了");
    std::vector<ToDoRecord> rows = {RowWithTask("a"), full, RowWithTask("c"), RowWithTask("d")};
    rows[3].Selected = rows[1].Selected = true;
    FileError error;
    ASSERT_TRUE(WriteCsvFile(test::DiskFiles(), path, rows, false, false, error)) << error.message;
    EXPECT_EQ(Utf8(test::ReadBytes(path)),
              "開始日時,期限（完了予定）,重要度,実行者,すべきこと,分類,進捗,残り時間,経過時間,警告,完了日時\r\n"
              "2010/05/01 09:00,,3,総務,見積,,50,完了,,,2010/05/02 10:00\r\n,,,,d,,,,,,\r\n");
    // Enclosed, and with the elapsed rate named in column eight.
    rows[1].Selected = false;
    ASSERT_TRUE(WriteCsvFile(test::DiskFiles(), path, rows, true, true, error)) << error.message;
    EXPECT_EQ(Utf8(test::ReadBytes(path)),
              "\"開始日時\",\"期限（完了予定）\",\"重要度\",\"実行者\",\"すべきこと\",\"分類\",\"進捗\",\"残り時間\","
              "\"経過率\",\"警告\",\"完了日時\"\r\n"
              "\"\",\"\",\"\",\"\",\"d\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
}

}  // namespace
}  // namespace dolvane
