// ツール > 同期 as the window wires it: the pass on a thread of its own, the item and the status
// bar while it runs, the outcome afterwards. What the pass decides is tested on the model.
#include "ui/MainWindow.h"

#include "support/MainWindowFixture.h"
#include "support/TypedInput.h"

#include <QAction>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace dolvane {
namespace {

// Holds the pass until the test lets it go.
class HeldSync final : public SyncService {
public:
    bool Configured() const override { return true; }
    SyncReport Run(const std::filesystem::path& /*listFile*/) override
    {
        std::unique_lock lock(mutex_);
        going_.wait_for(lock, std::chrono::seconds(20), [this] { return released_; });
        return {true, "同期しました"};
    }
    void Release()
    {
        const std::lock_guard lock(mutex_);
        released_ = true;
        going_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable going_;
    bool released_ = false;
};

class SyncMenuTest : public test::MainWindowFixture {};

TEST_F(SyncMenuTest, ThePassRunsBesideTheWindowWhichClosesAfterIt)
{
    EXPECT_FALSE(Find<QAction>(*Open(), "Sync1")->isEnabled()) << "no service, no sync";

    HeldSync service;
    TVelkDolvane window(
        MainWindowServices{paths_, clock_, sibling_, test::DiskFiles(), nullptr, {}, nullptr, &service});
    window.show();
    test::MessageBoxes boxes;
    auto* sync = Find<QAction>(window, "Sync1");
    ASSERT_TRUE(sync->isEnabled());
    sync->trigger();
    EXPECT_FALSE(sync->isEnabled());
    auto* running = Find<QLabel>(window, "SyncRunning");
    ASSERT_NE(running, nullptr);
    EXPECT_TRUE(running->isVisible());
    window.close();
    QTest::qWait(50);
    EXPECT_TRUE(window.isVisible()) << "a close waits for the pass that writes the list";

    service.Release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 10000));
    EXPECT_EQ(boxes.Take(), QStringList{QStringLiteral("同期しました")});
}

}  // namespace
}  // namespace dolvane
