// Reminders through the real notifier, to a stand-in notification service on a private session
// bus. ctest starts this binary under dbus-run-session; it refuses to run on any other bus.
#include "platform/DBusNotifier.h"
#include "support/StandInNotifications.h"
#include "support/WindowModelFixture.h"

#include <QCoreApplication>
#include <QTest>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::SentNotification;
using test::StandInNotifications;

using test::OpenLine;

class DBusRemindersTest : public test::ReminderModelTest<DBusNotifier> {};

// What the service got: the notifications are sent without waiting, so they arrive once the
// calls are served. Waits for `count` of them, then a moment for any that should not come.
std::vector<SentNotification> SentAfterward(const StandInNotifications& service, std::size_t count)
{
    (void)QTest::qWaitFor([&] { return service.Sent().size() >= count; }, 5000);  // the caller compares
    QTest::qWait(50);
    return service.Sent();
}

TEST_F(DBusRemindersTest, WithoutAServiceNothingFailsAndNothingIsReported)
{
    WriteList({OpenLine("2010/05/05 08:00", 0, "nobody listens")});
    auto model = MakeWithNotifier();
    TickAt(*model, {"2010/05/05 12:00", "2010/05/05 13:00"});
    EXPECT_TRUE(prompts_.errors.empty());
    EXPECT_TRUE(prompts_.messages.empty());
    EXPECT_TRUE(prompts_.questions.empty());
}

// A service that takes the calls and never answers: the status timer's tick goes on at once, and
// the notifications still went out.
TEST_F(DBusRemindersTest, AServiceThatNeverAnswersHoldsNothingUp)
{
    StandInNotifications service(StandInNotifications::Answer::Never);
    ASSERT_TRUE(service.Registered());
    WriteList({OpenLine("2010/05/05 08:00", 0, "late"), OpenLine("2010/05/05 09:00", 0, "later")});
    auto model = MakeWithNotifier();
    const auto start = std::chrono::steady_clock::now();
    TickAt(*model, {"2010/05/05 12:00"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    EXPECT_EQ(SentAfterward(service, 2).size(), 2U);
}

// What the rules decide to remind of is pinned on the model with a fake notifier; here the
// notifications as the service sees them, and a click coming back.
TEST_F(DBusRemindersTest, AClickOnAReminderSelectsItsToDo)
{
    StandInNotifications service;
    ASSERT_TRUE(service.Registered());
    WriteList({OpenLine("2010/05/05 10:00", 0, "first"), OpenLine("2010/05/05 08:00", 0, "clicked")});
    auto model = MakeWithNotifier();
    std::vector<quint32> clicks;
    QObject::connect(&notifier_, &DBusNotifier::activated, &notifier_, [&](quint32 id) {
        clicks.push_back(id);
        model->ShowNotifiedToDo(id);
    });
    TickAt(*model, {"2010/05/05 12:00"});
    const auto sent = SentAfterward(service, 2);
    ASSERT_EQ(sent.size(), 2U);
    EXPECT_EQ(sent[0].summary, QStringLiteral("clicked"));
    EXPECT_EQ(sent[1].summary, QStringLiteral("first"));
    for (const auto& notification : sent) {
        EXPECT_EQ(notification.appName, QStringLiteral("Dolvane"));
        EXPECT_EQ(notification.appIcon, QStringLiteral("dolvane"));
        EXPECT_EQ(notification.desktopEntry, QStringLiteral("dolvane"));
        EXPECT_TRUE(notification.actions.contains(QStringLiteral("default")));
    }

    // Another action of the same notification is not a click on it.
    service.InvokeAction(1, QStringLiteral("dismiss"));
    service.InvokeAction(1, QStringLiteral("default"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !clicks.empty(); }, 5000));
    EXPECT_EQ(clicks, std::vector<quint32>{1});
    ASSERT_EQ(model->Document().SelectedCount(), 1U);
    EXPECT_EQ(model->Document().FirstSelected()->TaskText, "clicked");
}

}  // namespace
}  // namespace dolvane

int main(int argc, char* argv[])
{
    // Only ever a bus of the test's own: the stand-in would otherwise take the user's desktop
    // notifications' name, and the tests would depend on whatever service runs there.
    if (std::getenv("DOLVANE_PRIVATE_BUS") == nullptr) {
        std::fprintf(stderr, "run under dbus-run-session with DOLVANE_PRIVATE_BUS=1 (see tests/CMakeLists.txt)\n");
        return 1;
    }
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
