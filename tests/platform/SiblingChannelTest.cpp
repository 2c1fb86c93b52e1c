#include "platform/SiblingChannel.h"

#include "support/StandInSibling.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>

#include <unistd.h>

namespace dolvane {
namespace {

using test::StandInSibling;
using Clock = std::chrono::steady_clock;

// The socket calls need an application object; gtest_main does not make one.
class QtEnvironment final : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
            runtime_ = std::make_unique<QTemporaryDir>();
            QFile::setPermissions(runtime_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            ::setenv("XDG_RUNTIME_DIR", runtime_->path().toLocal8Bit().constData(), 1);
        }
        if (QCoreApplication::instance() == nullptr) {
            app_ = std::make_unique<QCoreApplication>(argc_, argv_);
        }
    }
    void TearDown() override { app_.reset(); }  // the runtime folder goes with the environment

private:
    int argc_ = 1;
    char name_[16] = "platform_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QTemporaryDir> runtime_;
    std::unique_ptr<QCoreApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Every test has its own name so a leftover socket of one never answers another.
std::string UniqueName(const char* what)
{
    static int counter = 0;
    return "ピマロ-test-" + std::to_string(::getpid()) + "-" + what + "-" + std::to_string(++counter);
}

TEST(SiblingChannelTest, AbsentSiblingIsIgnoredQuicklyUnderTheSiblingsPerUserName)
{
    EXPECT_EQ(LocalSocketSibling().ServerName(), "ピマロ-" + std::to_string(::getuid()));
    LocalSocketSibling sibling(UniqueName("absent"));
    const auto start = Clock::now();
    EXPECT_FALSE(sibling.Running());
    sibling.Send(0, "VelkA");
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 1.0);
}

// "VelkA" alone is the saved notice; a note's text follows the tag. 「買い物～」 in cp932 holds
// 0x5C as a trail byte and 0x8160 (U+FF5E), the bytes a text-mode or UTF-16 round trip would damage.
TEST(SiblingChannelTest, RecordsArriveByteExact)
{
    const std::string body = "\x94\x83\x82\xA2\x95\xA8\x81\x60\x83\x5C";
    const std::pair<std::uint32_t, std::string> cases[] = {
        {0, "VelkA"}, {1, "VelkA" + body}, {1, std::string("VelkA\0\0", 7)}};

    const std::string name = UniqueName("reply");
    StandInSibling standIn(QString::fromStdString(name));
    LocalSocketSibling sibling(name);
    EXPECT_TRUE(sibling.Running());
    for (const auto& [kind, payload] : cases) {
        sibling.Send(kind, payload);
    }
    ASSERT_TRUE(standIn.WaitForRecords(std::size(cases), 2000));
    const auto records = standIn.Records();
    ASSERT_EQ(records.size(), std::size(cases)) << "the presence probe must not count as a record";
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].kind, cases[i].first) << i;
        EXPECT_EQ(records[i].cbData, cases[i].second.size()) << i;
        EXPECT_EQ(records[i].payload, cases[i].second) << i;
    }
}

TEST(SiblingChannelTest, SilentSiblingIsGivenUpAfterTwoSeconds)
{
    const std::string name = UniqueName("silent");
    StandInSibling standIn(QString::fromStdString(name), StandInSibling::Answer::Silent);
    LocalSocketSibling sibling(name);
    const auto start = Clock::now();
    sibling.Send(0, "VelkA");
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_TRUE(seconds >= 1.5 && seconds <= 4.0) << seconds;
    EXPECT_EQ(standIn.Records().size(), 1u) << "the record was delivered, only the answer is missing";
}

}  // namespace
}  // namespace dolvane
