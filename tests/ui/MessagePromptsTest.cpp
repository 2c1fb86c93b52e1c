// The question box as the user meets it: Enter takes the answer the question preselected.
#include "ui/dialogs/MessagePrompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace dolvane {
namespace {

TEST(MessagePromptsTest, EnterTakesThePreselectedAnswer)
{
    for (const auto& [preselect, yes] :
         {std::pair{Prompts::Preselect::Yes, true}, std::pair{Prompts::Preselect::No, false}}) {
        MessagePrompts prompts(nullptr);
        QTimer::singleShot(0, [] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(qobject_cast<QMessageBox*>(box), nullptr);
            QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(prompts.AskYesNo("確認", "上書きして保存しますか？", preselect), yes);
    }
}

}  // namespace
}  // namespace dolvane
