#include "core/edit/DatePick.h"

#include "core/time/TimeTexts.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

TEST(DatePickTest, PresetHoursFollowTheItemCaptions)
{
    for (const auto& [index, hours] : {std::pair{0, 24}, {6, 2160}, {14, 7920}, {15, 8760}, {16, 0}, {-1, 0}}) {
        EXPECT_EQ(HoursForPeriod(index), hours) << index;
    }
    EXPECT_EQ(PeriodPresetNames().size(), 17U) << "one name per preset, 16 past the end";
}

TEST(DatePickTest, StartSplitsTheFieldAndPickedTextJoinsItAgain)
{
    const DateTime now = ParseDateTimeText("2011/01/02 03:04");
    const PickStart set = PickerStartFor("2010/05/03 14:30", now);
    EXPECT_EQ(PickedText(set.date, set.time, false), "2010/05/03 14:30");
    EXPECT_EQ(PickedText(set.date, set.time, true), "");
    const PickStart empty = PickerStartFor("", now);
    EXPECT_EQ(PickedText(empty.date, empty.time, false), "2011/01/02 03:04");
}

TEST(DatePickTest, UnreadablePartsThrowTheErrorOfTheirReader)
{
    using Kind = ConvertError::Kind;
    for (const auto& [text, kind] :
         {std::pair{"2010/13/03 14:30", Kind::Date}, {"2010/05/03 25:00", Kind::Time}, {"2010/05/03", Kind::Time}}) {
        try {
            PickerStartFor(text, DateTime{});
            ADD_FAILURE() << text;
        } catch (const ConvertError& error) {
            EXPECT_EQ(error.Which(), kind) << text;
        }
    }
}

}  // namespace
}  // namespace dolvane
