#include "core/store/ListStore.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace dolvane {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// Makes one of the write's system calls fail the way a full or read-only disk does.
class FailingCalls final : public WriteSystemCalls {
public:
    enum class Fault { ShortWriteThenNoSpace, NoSpace, SyncFails, RenameDenied };
    explicit FailingCalls(Fault fault) : fault_(fault) {}

    ssize_t Write(int fd, const void* data, std::size_t size) override
    {
        if (fault_ == Fault::ShortWriteThenNoSpace && writes_++ == 0 && size > 1) {
            return WriteSystemCalls::Write(fd, data, size / 2);
        }
        if (fault_ == Fault::ShortWriteThenNoSpace || fault_ == Fault::NoSpace) {
            errno = ENOSPC;
            return -1;
        }
        return WriteSystemCalls::Write(fd, data, size);
    }
    int DataSync(int fd) override
    {
        if (fault_ == Fault::SyncFails) {
            errno = EIO;
            return -1;
        }
        return WriteSystemCalls::DataSync(fd);
    }
    int Rename(const char* from, const char* to) override
    {
        if (fault_ == Fault::RenameDenied) {
            errno = EACCES;
            return -1;
        }
        return WriteSystemCalls::Rename(from, to);
    }

private:
    Fault fault_;
    int writes_ = 0;
};

std::string ListText(int rows, char mark)
{
    std::string text;
    for (int i = 0; i < rows; ++i) {
        text += "2010/05/01 09:00&2010/05/10 18:00+24=03050@\\@#@#";
        text.append(40, mark);
        text += std::to_string(i) + "\r\n";
    }
    return text;
}

TEST(AtomicSaveTest, AFailureMidSaveLeavesTheOldFileAndTheUnsavedRows)
{
    using Fault = FailingCalls::Fault;
    for (const Fault fault : {Fault::ShortWriteThenNoSpace, Fault::NoSpace, Fault::SyncFails, Fault::RenameDenied}) {
        TempFolder folder;
        const auto path = folder / "todolist.txt";
        const std::string old = ListText(50, 'a');
        WriteBytes(path, old);
        ListStore store;
        FileError error;
        ASSERT_TRUE(store.LoadList(path, {}, DateTime{40'000}, error));
        for (auto& row : store.Rows()) {
            row.TaskText = "changed";
        }
        store.State().UnsavedChanges = true;
        store.State().UndoAvailable = true;

        FailingCalls calls(fault);
        ListStore::SaveOptions options;
        options.calls = &calls;
        for (const SaveMode mode : {SaveMode::Full, SaveMode::Merge}) {
            error.message.clear();
            EXPECT_EQ(store.SaveList(path, mode, error, options), SaveStatus::Failed) << static_cast<int>(fault);
            EXPECT_FALSE(error.message.empty());
            EXPECT_EQ(ReadBytes(path), old);
            EXPECT_TRUE(store.State().UnsavedChanges);
            EXPECT_TRUE(store.State().UndoAvailable);
            EXPECT_EQ(store.Rows()[0].TaskText, "changed");
        }
        int entries = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            ++entries;
        }
        EXPECT_EQ(entries, 1) << "no temporary file is left behind";
    }
}

// A saving process killed at any moment leaves either the old list or the new one, whole.
TEST(AtomicSaveTest, KillingASavingProcessNeverTearsTheFile)
{
    TempFolder folder;
    const auto path = folder / "todolist.txt";
    const std::string first = ListText(3000, 'a');
    const std::string second = ListText(2000, 'b');
    WriteBytes(path, first);

    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delay(0, 15'000);
    constexpr int kTrials = 200;
    int torn = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Load whichever list is there, then keep saving the other one and back.
            ListStore store;
            FileError error;
            store.LoadList(path, {}, DateTime{40'000}, error);
            std::vector<ToDoRecord> other;
            for (const auto line : SplitLines(ReadBytes(path) == first ? second : first)) {
                other.push_back(ParseRecordLine(line));
            }
            ListStore::SaveOptions options;
            options.overwriteChanged = true;
            for (;;) {
                std::swap(store.Rows(), other);
                store.SaveList(path, SaveMode::Full, error, options);
            }
        }
        usleep(static_cast<useconds_t>(delay(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const std::string now = ReadBytes(path);
        if (now != first && now != second) {
            ++torn;
        }
    }
    EXPECT_EQ(torn, 0) << "of " << kTrials << " kills";
}

}  // namespace
}  // namespace dolvane
