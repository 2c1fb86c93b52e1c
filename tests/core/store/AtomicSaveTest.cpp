#include "core/store/ListStore.h"

#include "platform/PosixFileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <unistd.h>

namespace dolvane {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// Makes one of the write's system calls fail the way a full or read-only disk does.
class FailingCalls final : public PosixFileSystem {
public:
    enum class Fault { ShortWrites, NoProgress, NoSpace, SyncFails, RenameDenied };
    explicit FailingCalls(Fault fault) : fault_(fault) {}

protected:
    ssize_t Write(int fd, const void* data, std::size_t size) override
    {
        if (fault_ == Fault::ShortWrites) {
            // At most 1000 bytes at a time, as a pipe or a slow disk may take them.
            return PosixFileSystem::Write(fd, data, std::min<std::size_t>(size, 1000));
        }
        if (fault_ == Fault::NoProgress) {
            // A save that kept retrying would never end; past a few tries the write fails instead,
            // and the test with it.
            if (++writes_ > kTriesWithoutProgress) {
                ADD_FAILURE() << "the save tried " << kTriesWithoutProgress << " writes that made no progress";
                return Fail(EIO);
            }
            return 0;
        }
        return fault_ == Fault::NoSpace ? Fail(ENOSPC) : PosixFileSystem::Write(fd, data, size);
    }
    int DataSync(int fd) override { return fault_ == Fault::SyncFails ? Fail(EIO) : PosixFileSystem::DataSync(fd); }
    int Rename(const char* from, const char* to) override
    {
        return fault_ == Fault::RenameDenied ? Fail(EACCES) : PosixFileSystem::Rename(from, to);
    }

private:
    static int Fail(int code)
    {
        errno = code;
        return -1;
    }
    static constexpr int kTriesWithoutProgress = 100;
    Fault fault_;
    int writes_ = 0;
};

std::string ListText(int rows, char mark)
{
    std::string text;
    for (int i = 0; i < rows; ++i) {
        text +=
            "2010/05/01 09:00&2010/05/10 18:00+24=03050@\\@#@#" + std::string(40, mark) + std::to_string(i) + "\r\n";
    }
    return text;
}

TEST(AtomicSaveTest, AFailureMidSaveLeavesTheOldFileAndTheUnsavedRows)
{
    using Fault = FailingCalls::Fault;
    for (const Fault fault : {Fault::NoProgress, Fault::NoSpace, Fault::SyncFails, Fault::RenameDenied}) {
        test::TempFolder folder;
        const auto path = folder / "todolist.txt";
        const std::string old = ListText(50, 'a');
        WriteBytes(path, old);
        FailingCalls files(fault);
        ListStore store(files);
        FileError error;
        ASSERT_TRUE(store.LoadList(path, {}, DateTime{40'000}, error));
        store.Rows()[0].TaskText = "changed";
        store.State().UnsavedChanges = store.State().UndoAvailable = true;

        EXPECT_EQ(store.SaveList(path, SaveMode::Full, error, {}), SaveStatus::Failed) << static_cast<int>(fault);
        EXPECT_FALSE(error.message.empty());
        EXPECT_EQ(ReadBytes(path), old);
        EXPECT_TRUE(store.State().UnsavedChanges && store.State().UndoAvailable);
        EXPECT_EQ(store.Rows()[0].TaskText, "changed");
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << "no temporary file is left behind";
        }
    }
}

TEST(AtomicSaveTest, ShortWritesResumeWhereTheyStopped)
{
    test::TempFolder folder;
    const auto path = folder / "todolist.txt";
    const std::string text = ListText(300, 'x');  // many chunks of 1000 bytes, the last one short
    ASSERT_GT(text.size() % 1000, 0U);
    FailingCalls files(FailingCalls::Fault::ShortWrites);
    FileError error;
    ASSERT_TRUE(files.WriteFileAtomically(path, text, error)) << error.message;
    EXPECT_EQ(ReadBytes(path), text);
}

}  // namespace
}  // namespace dolvane
