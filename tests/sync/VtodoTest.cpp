#include "sync/Vtodo.h"

#include "core/store/FileIo.h"
#include "core/store/RecordLine.h"
#include "core/time/TimeTexts.h"

#include "support/ListFiles.h"
#include "support/Sjis.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Sj;
using test::Utf8;

const std::string kZone = "Asia/Tokyo";

DateTime At(const char* text)
{
    return ParseDateTimeText(text);
}

std::string Write(const ToDoRecord& row, std::string_view fetched = {})
{
    return WriteVtodo(row, "uid-1", fetched, kZone, At("2024/06/01 12:00"));
}

ToDoRecord Read(std::string_view ics, const char* syncTime = "2024/06/01 12:00")
{
    const auto todo = ReadVtodo(ics, At(syncTime), kZone);
    EXPECT_TRUE(todo.has_value()) << ics;
    return todo ? todo->row : ToDoRecord{};
}

// Every line the list holds comes back byte for byte; what the server sees is checked on the side.
TEST(VtodoTest, LinesRoundTripThroughTheirVtodo)
{
    const struct {
        const char* line;
        const char* must;     // in the written object
        const char* mustNot;  // not in it
    } table[] = {
        {"2024/01/01 09:00&2024/01/05 18:00+24=03050山田@\\@仕事#@#報告書を書く･･提出する",
         "TRIGGER;RELATED=END:-PT24H", "ATTENDEE"},
        {"2024/01/01 09:00+48=00000@\\@#@#買い物", "X-DOLVANE-WARNING-HOURS:48", "VALARM"},
        {"2024/01/01 09:00&2024/01/02 09:00|2024/01/01 20:15+=15100@\\@#@#済み", "COMPLETED:20240101T111500Z",
         "X-DOLVANE"},
        {"2024/01/01 09:00+=10000@\\@#@#時刻なしで完了", "STATUS:COMPLETED", "\nCOMPLETED:"},
        {"2024/01/01 09:00|2024/01/01 20:15+=00000@\\@#@#戻した", "X-DOLVANE-COMPLETED:2024/01/01 20:15",
         "\nCOMPLETED:"},
        {"2024/01/01 09:00&2024/01/01 09:00+=00000@\\@#@#開始と期限が同じ", "X-DOLVANE-START:", "DTSTART;TZID"},
        {"2024/01/02 09:00&2024/01/01 09:00+5=04000@\\@#@#期限が先", "PRIORITY:3", "DTSTART;TZID"},
        {"2024/1/1 9:00&2024/13/01 10:00|昨日+=10000@\\@#@#読めない日付", "X-DOLVANE-DEADLINE:2024/13/01", "DUE"},
        {"+=00000@\\@#@#開始なし", "X-DOLVANE-START;X-DOLVANE-EMPTY", "DTSTART;TZID"},
        {"2024/01/01 09:00+=0x999@\\@#@#範囲外", "X-DOLVANE-PROGRESS:999", "PERCENT-COMPLETE"},
        {"2024/01/01 09:00&2024/01/03 09:00+-5=05000@\\@#@#負の時間", "PRIORITY:1", "VALARM"},
        {"2024/01/01 09:00&2024/01/03 09:00+abc=01000@\\@#@#数でない", "PRIORITY:9", "VALARM"},
        {"2024/01/01 09:00+=02000鈴木@\\@a,b#@#一行目\t字下げ････三行目･･ｶﾀｶﾅ～①髙", "CATEGORIES:a,b", "ATTENDEE"},
        {"2010/05/01 09:00+=00000just text", "X-DOLVANE-LINE:", ""},
        {" 2010/05/01 09:00+=0301x@\\@#@#task", "X-DOLVANE-LINE:", ""},
    };
    for (const auto& row : table) {
        const std::string line = Sj(row.line);
        const std::string ics = Write(ParseRecordLine(line));
        EXPECT_EQ(Utf8(LineToWrite(Read(ics))), row.line) << ics;
        EXPECT_NE(ics.find(row.must), std::string::npos) << row.must << " in\n" << ics;
        if (*row.mustNot != '\0') {
            EXPECT_EQ(ics.find(row.mustNot), std::string::npos) << row.mustNot << " in\n" << ics;
        }
    }
    // A character with two cp932 forms (NEC-selected IBM row) keeps the form the list holds.
    const std::string twoForms = "2024/01/01 09:00+=00000@\\@#@#\xED\x40";
    EXPECT_EQ(LineToWrite(Read(Write(ParseRecordLine(twoForms)))), twoForms);
}

std::string Calendar(std::string_view body)
{
    std::string ics = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VTODO\r\nUID:other-1\r\n";
    for (const std::string_view line : SplitLines(body)) {
        ics.append(line).append("\r\n");
    }
    return ics + "END:VTODO\r\nEND:VCALENDAR\r\n";
}

// Another program's to-do as a line: each property to its field.
TEST(VtodoTest, AnotherProgramsVtodoAsALine)
{
    const struct {
        const char* body;
        const char* line;
    } table[] = {
        {"DTSTART:20240101T000000Z\nSUMMARY:UTC", "2024/01/01 09:00+=00000@\\@#@#UTC"},
        {"DTSTART;VALUE=DATE:20240101\nDUE;VALUE=DATE:20240110\nSUMMARY:日付だけ",
         "2024/01/01 00:00&2024/01/10 00:00+=00000@\\@#@#日付だけ"},
        {"DTSTART:20240101T090000\nDURATION:PT3H\nSUMMARY:期間", "2024/01/01 09:00&2024/01/01 12:00+=00000@\\@#@#期間"},
        {"CREATED:20231231T150000Z\nSUMMARY:作成日時から", "2024/01/01 00:00+=00000@\\@#@#作成日時から"},
        {"SUMMARY:同期の時刻から", "2024/06/01 12:00+=00000@\\@#@#同期の時刻から"},
        {"DTSTART:20240101T090000\nSUMMARY:見出し\nDESCRIPTION:本文\\n二行目\\n",
         "2024/01/01 09:00+=00000@\\@#@#見出し･･本文･･二行目"},
        {"DTSTART:20240101T090000\nDESCRIPTION:件名なし", "2024/01/01 09:00+=00000@\\@#@#件名なし"},
        {"DTSTART:20240101T090000", "2024/01/01 09:00+=00000@\\@#@#（件名なし）"},
        {"DTSTART:20240101T090000\nSUMMARY:絵文字😀と〜", "2024/01/01 09:00+=00000@\\@#@#絵文字〓と～"},
        {"DTSTART:20240101T090000\nSUMMARY:t\nPRIORITY:1\nPERCENT-COMPLETE:150\nSTATUS:IN-PROCESS",
         "2024/01/01 09:00+=05100@\\@#@#t"},
        {"DTSTART:20240101T090000\nSUMMARY:t\nPRIORITY:6\nSTATUS:COMPLETED\nCOMPLETED:20240102T010000Z",
         "2024/01/01 09:00|2024/01/02 10:00+=13000@\\@#@#t"},
        {"DTSTART:20240101T090000\nSUMMARY:t\nPRIORITY:9\nCOMPLETED:20240102T010000Z",
         "2024/01/01 09:00|2024/01/02 10:00+=11000@\\@#@#t"},
        {"DTSTART:20240101T090000\nSUMMARY:t\nSTATUS:NEEDS-ACTION\nCOMPLETED:20240102T010000Z",
         "2024/01/01 09:00|2024/01/02 10:00+=00000@\\@#@#t"},
        {"DTSTART:20240101T090000\nSUMMARY:t\nCATEGORIES:仕事,家\nCATEGORIES:急ぎ",
         "2024/01/01 09:00+=00000@\\@仕事,家,急ぎ#@#t"},
        {"DTSTART:20240101T090000\nDUE:20240103T090000\nSUMMARY:t\nBEGIN:VALARM\nACTION:DISPLAY\n"
         "TRIGGER;RELATED=END:-P2D\nEND:VALARM",
         "2024/01/01 09:00&2024/01/03 09:00+48=00000@\\@#@#t"},
        {"DTSTART:20240101T090000\nDUE:20240103T090000\nSUMMARY:t\nBEGIN:VALARM\nACTION:DISPLAY\n"
         "TRIGGER:-PT30M\nEND:VALARM",
         "2024/01/01 09:00&2024/01/03 09:00+=00000@\\@#@#t"},
    };
    for (const auto& row : table) {
        EXPECT_EQ(Utf8(LineToWrite(Read(Calendar(row.body)))), row.line) << row.body;
    }
    const auto recurring =
        ReadVtodo(Calendar("DTSTART:20240101T090000\nSUMMARY:t\nRRULE:FREQ=WEEKLY"), At("2024/06/01 12:00"), kZone);
    ASSERT_TRUE(recurring.has_value());
    EXPECT_TRUE(recurring->recurring);
    EXPECT_EQ(recurring->uid, "other-1");
    EXPECT_FALSE(ReadVtodo("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nEND:VCALENDAR\r\n", At("2024/06/01 12:00"), kZone));
}

// An edit here changes the server's object in place: what Dolvane does not know stays, and so
// does every field not edited here, in the server's own spelling.
TEST(VtodoTest, AnEditChangesOnlyItsFieldsInTheFetchedObject)
{
    const std::string fetched =
        Calendar("DTSTART:20240101T090000\nDUE:20240103T090000\nSUMMARY:絵文字😀\nX-OTHER-APP:keep me\n"
                 "BEGIN:VALARM\nACTION:AUDIO\nTRIGGER:-PT15M\nEND:VALARM");
    ToDoRecord row = Read(fetched);
    row.Progress = "40";
    row.WarningHours = "24";
    const std::string edited = Write(row, fetched);
    for (const char* kept : {"X-OTHER-APP:keep me", "SUMMARY:絵文字😀", "TRIGGER:-PT15M", "UID:uid-1"}) {
        EXPECT_NE(edited.find(kept), std::string::npos) << kept << " in\n" << edited;
    }
    EXPECT_EQ(test::Occurrences(edited, "BEGIN:VALARM"), 2U) << edited;
    EXPECT_EQ(Utf8(LineToWrite(Read(edited))), "2024/01/01 09:00&2024/01/03 09:00+24=00040@\\@#@#絵文字〓");

    // The warning alarm is rewritten when the warning changes, and goes with the deadline.
    row.WarningHours = "3";
    const std::string warned = Write(row, edited);
    EXPECT_EQ(test::Occurrences(warned, "BEGIN:VALARM"), 2U) << warned;
    EXPECT_NE(warned.find("TRIGGER;RELATED=END:-PT3H"), std::string::npos) << warned;
    row.DeadlineText.clear();
    const std::string undated = Write(row, warned);
    EXPECT_EQ(test::Occurrences(undated, "BEGIN:VALARM"), 1U) << undated;
    EXPECT_NE(undated.find("TRIGGER:-PT15M"), std::string::npos) << undated;

    // Edited here, the task replaces the server's text.
    row.TaskText = Sj("新しい件名");
    const std::string retitled = Write(row, undated);
    EXPECT_EQ(retitled.find("😀"), std::string::npos) << retitled;
    EXPECT_NE(retitled.find("SUMMARY:新しい件名"), std::string::npos) << retitled;
}

}  // namespace
}  // namespace dolvane
