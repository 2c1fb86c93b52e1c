#include "ui/dialogs/TFusenDlg.h"

#include "core/time/TimeTexts.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace dolvane {
namespace {

TEST(PickerTest, ButtonsAndClearBoxDecideTheFieldText)
{
    struct Case {
        const char* caption;
        bool tick;  // of the clear box
        const char* button;
        const char* result;
        bool clearShown;
    };
    const std::vector<Case> cases{
        {"期限日時の設定", false, "OKBtn", "2010/05/03 14:30", true},
        {"完了日時の設定", true, "OKBtn", "", true},
        {"期限日時の設定", true, "CancelBtn", "2010/05/03 14:30", true},
        {"開始日時の設定", false, "OKBtn", "2010/05/03 14:30", false},
    };
    for (const Case& c : cases) {
        bool clearShown = false;
        const auto pressed = [&](TFusenDlg& dialog) {
            auto* clearBox = dialog.findChild<QCheckBox*>(QStringLiteral("CheckBox6"));
            clearShown = !clearBox->isHidden();
            clearBox->setChecked(c.tick);
            QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromUtf8(c.button)), Qt::LeftButton);
        };
        const auto text = PickDateTime(nullptr, "2010/05/03 14:30", QString::fromUtf8(c.caption),
                                       ParseDateTimeText("2011/01/02 03:04"), pressed);
        EXPECT_EQ(text, std::optional<std::string>(c.result)) << c.caption << ' ' << c.button;
        EXPECT_EQ(clearShown, c.clearShown) << c.caption;
    }
}

}  // namespace
}  // namespace dolvane
