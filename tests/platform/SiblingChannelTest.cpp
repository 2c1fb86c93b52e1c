#include "platform/SiblingChannel.h"

#include "support/StandInSibling.h"

#include <QCoreApplication>
#include <QDir>
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
    void TearDown() override
    {
        app_.reset();
        runtime_.reset();
    }

private:
    int argc_ = 1;
    char name_[16] = "platform_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QTemporaryDir> runtime_;
    std::unique_ptr<QCoreApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Every test has its own name so a leftover socket of one never answers another.
QString UniqueName(const char* what)
{
    static int counter = 0;
    return QStringLiteral("ピマロ-test-%1-%2-%3")
        .arg(QString::number(::getpid()), QString::fromUtf8(what), QString::number(++counter));
}

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(SiblingChannelTest, DefaultNameIsTheSiblingsPerUserName)
{
    const LocalSocketSibling sibling;
    EXPECT_EQ(sibling.ServerName(), QStringLiteral("ピマロ-") + QString::number(::getuid()));
}

TEST(SiblingChannelTest, AbsentSiblingIsIgnoredQuickly)
{
    LocalSocketSibling sibling(UniqueName("absent"));
    const auto start = Clock::now();
    EXPECT_FALSE(sibling.Running());
    sibling.Send(0, "VelkA");
    EXPECT_LT(SecondsSince(start), 1.0);
}

TEST(SiblingChannelTest, RecordsArriveByteExact)
{
    // "VelkA" then 「買い物～」 in cp932: 0x5C as a trail byte and 0x8160 (U+FF5E) are the
    // bytes a text-mode or UTF-16 round trip would damage.
    const std::string body = "\x94\x83\x82\xA2\x95\xA8\x81\x60\x83\x5C";
    struct Case {
        std::uint32_t kind;
        std::string payload;
    };
    const Case cases[] = {
        {0, "VelkA"},         // saved notice: the tag alone
        {1, "VelkA" + body},  // a note's text after the tag
        {1, std::string("VelkA\0\0", 7)},
    };

    const QString name = UniqueName("reply");
    StandInSibling standIn(name);
    ASSERT_TRUE(standIn.Listening());
    LocalSocketSibling sibling(name);
    EXPECT_TRUE(sibling.Running());

    for (const Case& c : cases) {
        sibling.Send(c.kind, c.payload);
    }
    ASSERT_TRUE(standIn.WaitForRecords(std::size(cases), 2000));
    const auto records = standIn.Records();
    ASSERT_EQ(records.size(), std::size(cases)) << "the presence probe must not count as a record";
    for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(records[i].kind, cases[i].kind);
        EXPECT_EQ(records[i].cbData, cases[i].payload.size());
        EXPECT_EQ(records[i].payload, cases[i].payload);
    }
    EXPECT_EQ(records[0].cbData, 5u);
    EXPECT_EQ(records[1].cbData, 5u + body.size());
}

TEST(SiblingChannelTest, SilentSiblingIsGivenUpAfterTwoSeconds)
{
    const QString name = UniqueName("silent");
    StandInSibling standIn(name, StandInSibling::Answer::Silent);
    ASSERT_TRUE(standIn.Listening());
    LocalSocketSibling sibling(name);

    const auto start = Clock::now();
    sibling.Send(0, "VelkA");
    const double seconds = SecondsSince(start);
    EXPECT_GE(seconds, 1.5);
    EXPECT_LE(seconds, 4.0);
    EXPECT_EQ(standIn.Records().size(), 1u) << "the record was delivered, only the answer is missing";
}

TEST(SiblingChannelTest, StaleSocketFileDoesNotKeepTheStandInFromListening)
{
    const QString name = UniqueName("stale");
    {
        StandInSibling first(name);
        ASSERT_TRUE(first.Listening());
        StandInSibling second(name);
        EXPECT_FALSE(second.Listening()) << "a live server's name is never taken over";
    }
    // A file with the socket's path but nobody behind it, as a crash leaves it.
    QFile stale(QDir(QDir::tempPath()).filePath(name));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    StandInSibling next(name);
    EXPECT_TRUE(next.Listening());
    QFile::remove(stale.fileName());
}

}  // namespace
}  // namespace dolvane
