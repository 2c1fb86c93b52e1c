#include "core/app/ProgramPaths.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

TEST(ProgramPathsTest, DerivedFromTheProgramFolder)
{
    const ProgramPaths paths = DeriveProgramPaths("/home/aki/dolvane", "aki", "/opt");
    EXPECT_EQ(paths.ListFilePath, std::filesystem::path("/home/aki/dolvane/data/aki/todolist.txt"));
    EXPECT_EQ(paths.SiblingFolder, std::filesystem::path("/opt/Ｖｅｌｋ/ピマロ"));
    EXPECT_EQ(DeriveProgramPaths("/home/aki/dolvane", "ken", "/opt").ListFilePath,
              std::filesystem::path("/home/aki/dolvane/data/ken/todolist.txt"))
        << "each user of one installation has a list file of their own";
}

TEST(ProgramPathsTest, InsideTheSiblingFolder)
{
    const std::pair<const char*, bool> cases[] = {
        {"/opt/Ｖｅｌｋ/ピマロ", true},
        {"/opt/Ｖｅｌｋ/ピマロ/tools", true},
        {"/home/aki/Ｖｅｌｋ/ピマロ2", true},  // a plain text test, as the program has always done
        {"/opt/Ｖｅｌｋ", false},
        {"/opt/Velk/ピマロ", false},  // half-width letters are another folder
        {"/opt/ピマロ/Ｖｅｌｋ", false},
    };
    for (const auto& [folder, inside] : cases) {
        EXPECT_EQ(DeriveProgramPaths(folder, "aki", "/opt").InsideSiblingFolder, inside) << folder;
    }
}

}  // namespace
}  // namespace dolvane
