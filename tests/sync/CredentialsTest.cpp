#include "sync/Credentials.h"

#include "sync/CalDavClient.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace dolvane {
namespace {

namespace fs = std::filesystem;

TEST(CredentialsTest, APasswordFileIsReadOnlyWhenNobodyElseCanReadIt)
{
    const test::TempFolder folder;
    const auto file = folder / "sync-password";
    EXPECT_EQ(ReadPasswordFile(file), std::nullopt);
    const struct {
        fs::perms mode;
        bool refused;
    } cases[] = {
        {fs::perms::owner_read | fs::perms::owner_write, false}, {fs::perms::owner_read, false},
        {fs::perms::owner_read | fs::perms::group_read, true},   {fs::perms::owner_read | fs::perms::others_read, true},
        {fs::perms::owner_read | fs::perms::group_write, true},
    };
    for (const auto& c : cases) {
        test::WriteBytes(file, "pass word\r\n");
        fs::permissions(file, c.mode);
        // A refusal tells how to make the file private.
        std::string refusal;
        try {
            EXPECT_EQ(ReadPasswordFile(file), "pass word");
        } catch (const SyncError& error) {
            refusal = error.what();
        }
        EXPECT_EQ(refusal.find("chmod 600 " + file.string()) != std::string::npos, c.refused)
            << static_cast<int>(c.mode) << ": " << refusal;
    }
}

TEST(CredentialsTest, AWrittenPasswordFileIsPrivateAndReplacesALinkAtItsName)
{
    const test::TempFolder folder;
    const auto file = folder / "config" / "dolvane" / "sync-password";
    WritePasswordFile(file, "first");
    EXPECT_EQ(ReadPasswordFile(file), "first");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(file.parent_path()).permissions(), fs::perms::owner_all);

    // A link planted at the name is replaced, never written through.
    test::WriteBytes(folder / "elsewhere", "untouched");
    fs::remove(file);
    fs::create_symlink(folder / "elsewhere", file);
    WritePasswordFile(file, "second");
    EXPECT_FALSE(fs::is_symlink(file));
    EXPECT_EQ(ReadPasswordFile(file), "second");
    EXPECT_EQ(test::ReadBytes(folder / "elsewhere"), "untouched");
}

}  // namespace
}  // namespace dolvane
