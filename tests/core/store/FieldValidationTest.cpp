#include "core/store/FieldValidation.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;

// A rejection's message carries the field's name. In an executor, "@\" with the marker after it
// makes the marker come early, and "ァ" is 0x83 0x40: its trail byte is "@".
TEST(FieldValidationTest, AcceptsAndRejectsPerField)
{
    const struct {
        Field field;
        const char* name;
        std::vector<std::string> accepted;
        std::vector<std::string> rejected;
    } rules[] = {
        {Field::Importance, "重要度", {"0", "5"}, {"6", "", Sj("３")}},
        {Field::Executor, "実行者", {Sj("総務 課")}, {"a\nb", "a\rb", "a@\\@b", "a#@#b", "a@\\", Sj("ァ") + "\\"}},
        {Field::Category, "分類", {Sj("仕事")}, {"a\r\nb", "a#@", "a@\\@b"}},
        {Field::Start, "開始日時", {"", "2010/05/01 09:00"}, {"2010/02/30 09:00"}},
        {Field::Deadline, "期限（完了予定）", {}, {"2010/05/01"}},
        {Field::Completed, "完了日時", {}, {"2010/05/01 24:00"}},
        {Field::Progress, "進捗", {"", "999"}, {"1000", "-1", " 5"}},
        {Field::WarningHours, "警告", {"32767"}, {"32768", "99999999999999999999", "-5"}},
        {Field::Task, "すべきこと", {Sj("何でも @\\@ #@# \r\n 入る")}, {"", Sj(" 　･")}},
    };
    for (const auto& rule : rules) {
        for (const std::string& text : rule.accepted) {
            EXPECT_EQ(FieldError(rule.field, text), std::nullopt) << rule.name << " " << test::Utf8(text);
        }
        for (const std::string& text : rule.rejected) {
            const std::string error = FieldError(rule.field, text).value_or("(accepted)");
            EXPECT_NE(error.find(rule.name), std::string::npos) << test::Utf8(text) << ": " << test::Utf8(error);
        }
    }
}

// Blank is decided per character: "ァ" (0x83 0x40) and "ぇ" (0x82 0xA5) end in the bytes of "@"
// and "･", and a full-width space whose trail byte is missing is no space.
TEST(FieldValidationTest, BlankTasksHoldOnlySpacesControlBytesAndLineBreakDots)
{
    const std::string blank[] = {"", Sj("　"), "\xA5", Sj(" 　\t\r\n･･"), std::string("\x01\x1F\x7F\0", 4)};
    const std::string written[] = {" a", Sj("　あ"), Sj("ァ"), Sj("ぇ"), "\x81", "\xA5\xA5x", "@", Sj("・")};
    for (const std::string& text : blank) {
        EXPECT_TRUE(IsBlankTask(text)) << test::Utf8(text);
    }
    for (const std::string& text : written) {
        EXPECT_FALSE(IsBlankTask(text)) << test::Utf8(text);
    }
}

}  // namespace
}  // namespace dolvane
