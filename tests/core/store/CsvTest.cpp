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

    EXPECT_EQ(Utf8(CsvRowText(row, false)), "2010/05/01 09:00,,3,総務,見積 \"A,B\" を送る,,50,完了,,,2010/05/02 10:00");
    // Enclosed: empty fields are two quotes side by side and an inner quote is doubled.
    EXPECT_EQ(Utf8(CsvRowText(row, true)),
              "\"2010/05/01 09:00\",\"\",\"3\",\"総務\",\"見積 \"\"A,B\"\" を送る\",\"\",\"50\",\"完了\",\"\",\"\","
              "\"2010/05/02 10:00\"");
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
    ASSERT_TRUE(WriteCsvFile(test::DiskFiles(), path, rows, true, error)) << error.message;
    EXPECT_EQ(test::ReadBytes(path), CsvFileText(rows, true));
}

}  // namespace
}  // namespace dolvane
