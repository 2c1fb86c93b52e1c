#include "core/store/FieldValidation.h"

#include "core/store/RecordLine.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Sj;

// `rejectedAs` is the field name the message must carry, nullptr for an accepted text.
TEST(FieldValidationTest, AcceptsAndRejectsPerField)
{
    const struct {
        Field field;
        std::string text;
        const char* rejectedAs;
    } cases[] = {{Field::Importance, "0", nullptr},
                 {Field::Importance, "5", nullptr},
                 {Field::Importance, "6", "重要度"},
                 {Field::Importance, "", "重要度"},
                 {Field::Importance, Sj("３"), "重要度"},
                 {Field::Executor, Sj("総務 課"), nullptr},
                 {Field::Executor, "a\nb", "実行者"},
                 {Field::Executor, "a\rb", "実行者"},
                 {Field::Executor, "a@\\@b", "実行者"},
                 {Field::Executor, "a#@#b", "実行者"},
                 {Field::Executor, "a@\\", "実行者"},           // with the marker after it, the marker comes early
                 {Field::Executor, Sj("ァ") + "\\", "実行者"},  // 0x83 0x40: its trail byte is "@"
                 {Field::Category, Sj("仕事"), nullptr},
                 {Field::Category, "a\r\nb", "分類"},
                 {Field::Category, "a#@", "分類"},
                 {Field::Start, "", nullptr},
                 {Field::Start, "2010/05/01 09:00", nullptr},
                 {Field::Start, "2010/02/30 09:00", "開始日時"},
                 {Field::Deadline, "2010/05/01", "期限（完了予定）"},
                 {Field::Completed, "2010/05/01 24:00", "完了日時"},
                 {Field::Progress, "", nullptr},
                 {Field::Progress, "999", nullptr},
                 {Field::Progress, "1000", "進捗"},
                 {Field::Progress, "-1", "進捗"},
                 {Field::Progress, " 5", "進捗"},
                 {Field::WarningHours, "32767", nullptr},
                 {Field::WarningHours, "32768", "警告"},
                 {Field::WarningHours, "99999999999999999999", "警告"},
                 {Field::Task, Sj("何でも @\\@ #@# \r\n 入る"), nullptr}};
    for (const auto& c : cases) {
        const std::optional<std::string> error = FieldError(c.field, c.text);
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.field) << " " << test::Utf8(c.text));
        if (c.rejectedAs == nullptr) {
            EXPECT_EQ(error, std::nullopt);
        } else {
            EXPECT_NE(error.value_or("").find(c.rejectedAs), std::string::npos) << error.value_or("(accepted)");
        }
    }
}

// Whatever passes the checks comes back from the list file as it went in.
TEST(FieldValidationTest, AcceptedExecutorsAndCategoriesSurviveTheListFile)
{
    const std::string texts[] = {"a@", "\\@", "@#", Sj("ァ"), "a@\\", "a#@", Sj("ァ") + "\\"};
    for (const std::string& executor : texts) {
        for (const std::string& category : texts) {
            if (FieldError(Field::Executor, executor) || FieldError(Field::Category, category)) {
                continue;
            }
            ToDoRecord row;
            row.Importance = "0";
            row.Executor = executor;
            row.Category = category;
            row.TaskText = "t";
            const ToDoRecord read = ParseRecordLine(FormatRecordLine(row));
            EXPECT_EQ(read.Executor, executor) << test::Utf8(executor) << " / " << test::Utf8(category);
            EXPECT_EQ(read.Category, category) << test::Utf8(executor) << " / " << test::Utf8(category);
        }
    }
}

}  // namespace
}  // namespace dolvane
