#include "core/time/TimeTexts.h"
#include "platform/ConversionLibraryLoader.h"
#include "platform/LocalClock.h"
#include "platform/SiblingSettingsStore.h"
#include "platform/SystemPaths.h"

#include "support/TempFolder.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <tuple>

#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

namespace dolvane {
namespace {

namespace fs = std::filesystem;

const fs::path kFullFolder = FAKE_CHARCONV_FULL_DIR;
const fs::path kPartialFolder = FAKE_CHARCONV_PARTIAL_DIR;
constexpr const char* kLibraryName = "libCharacterConversion.so";

// Asks the dynamic loader, without loading the file, how often the fake library in it was asked
// to release its buffer; -1 when the file is not in the process. Both fakes export the counter.
int DeleteBufCalls(const fs::path& file)
{
    void* handle = ::dlopen(file.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (handle == nullptr) {
        return -1;
    }
    const auto calls = reinterpret_cast<int (*)()>(::dlsym(handle, "FakeDeleteBufCalls"));
    const int count = calls != nullptr ? calls() : -2;
    ::dlclose(handle);
    return count;
}

// Each call's result, then how many buffers the library has been asked to release so far; from a
// folder with a Japanese name.
TEST(ConversionLibraryTest, ConvertsReleasesTheLibrarysBufferAfterCopyingAndUnloadsWithTheObject)
{
    const std::tuple<std::string_view, std::string_view, std::int32_t, std::uint8_t, std::string> cases[] = {
        {"ab\x82\xa0z", "Upper", 0, 0, "AB\x82\xa0Z"},
        {std::string_view("abcdef", 3), "Upper", 0, 0, "ABC"},
        {"abc", std::string_view("UpperCase", 5), 0, 0, "ABC"},
        {"", "Arguments", -1, 255, "count=-1 flag=255 empty=[]"},
        {"abc", "Null", 0, 0, ""}};
    const test::TempFolder root;
    const fs::path folder = root.Path() / "Ｖｅｌｋ" / "ピマロ";
    fs::create_directories(folder);
    fs::copy_file(kFullFolder / kLibraryName, folder / kLibraryName);
    auto library = LoadConversionLibrary(folder);
    ASSERT_NE(library, nullptr);
    int expectedCalls = 0;
    for (const auto& [source, mode, count, flag, expected] : cases) {
        EXPECT_EQ(library->Convert(source, mode, count, flag), expected) << mode;
        EXPECT_EQ(DeleteBufCalls(folder / kLibraryName), ++expectedCalls) << mode;
    }
    library.reset();
    EXPECT_EQ(DeleteBufCalls(folder / kLibraryName), -1);
}

// The library without _DeleteBuf is let go at once; one in the working folder is never loaded.
TEST(ConversionLibraryTest, RefusesAnIncompleteLibraryAndAnyButAnAbsoluteFolder)
{
    const test::TempFolder empty;
    const fs::path previous = fs::current_path();
    fs::current_path(kFullFolder);
    for (const fs::path& folder :
         {kPartialFolder, kFullFolder / "missing", empty.Path(), fs::path("relative"), fs::path(), fs::path(".")}) {
        EXPECT_EQ(LoadConversionLibrary(folder), nullptr) << folder;
    }
    fs::current_path(previous);
    EXPECT_EQ(DeleteBufCalls(kPartialFolder / kLibraryName), -1);
    EXPECT_EQ(DeleteBufCalls(kFullFolder / kLibraryName), -1);
}

// As the window loads it: the conversion library is built beside this test program.
TEST(ConversionLibraryTest, TheLibraryBesideTheExecutableIsLoaded)
{
    EXPECT_NE(LoadConversionLibraryBesideExecutable(), nullptr);
}

TEST(SystemPathsTest, TheEffectiveAccountAndTheExecutablesFolder)
{
    const passwd* entry = ::getpwuid(::geteuid());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(CurrentUserName(), entry->pw_name);

    EXPECT_EQ(fs::canonical(ExecutableFolder()), fs::canonical("/proc/self/exe").parent_path());
    // The executable's name comes from the application object, as in the window.
    int argc = 1;
    char name[] = "platform_tests";
    char* argv[] = {name, nullptr};
    const QCoreApplication application(argc, argv);
    EXPECT_EQ(CurrentProgramPaths().ExecutableName, "platform_tests");
    EXPECT_EQ(CurrentProgramPaths().SiblingFolder, fs::path("/opt/Ｖｅｌｋ/ピマロ"));
}

// In a zone nine hours ahead of UTC (never UTC itself, whatever the machine's zone), the clock
// gives the wall-clock time there: UTC plus nine hours, to the minute.
TEST(LocalClockTest, NowIsTheLocalWallClock)
{
    ::setenv("TZ", "JST-9", 1);
    ::tzset();
    const std::time_t tokyo = std::time(nullptr) + 9 * 3600;
    const DateTime now = LocalClock().Now();
    ::unsetenv("TZ");
    ::tzset();
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M", std::gmtime(&tokyo));
    EXPECT_LT(std::abs(now.days - ParseDateTimeText(text).days) * 1440.0, 1.5) << text;
}

TEST(SiblingSettingsStoreTest, AnAbsentOrRemovedStoreIsNeitherReadNorCreated)
{
    const test::TempFolder root;
    const fs::path file = root.Path() / "Ｖｅｌｋ" / "ピマロ.conf";
    {
        SiblingSettingsStore store(file);
        EXPECT_FALSE(store.IsOpen());
        EXPECT_EQ(store.ReadInteger("tododel"), std::nullopt);
        EXPECT_FALSE(store.WriteInteger("tododel", 3));
        const Settings current{.KeepDays = 30};
        EXPECT_EQ(ReadSettings(store, current), current) << "not even KeepDays falls back to 7";
        EXPECT_FALSE(WriteSettings(store, current));
    }
    EXPECT_FALSE(fs::exists(file.parent_path()));

    // Nor is a store removed after it was opened brought back.
    const fs::path removed = root.Path() / "ピマロ.conf";
    std::ofstream(removed, std::ios::binary) << "[General]\ntododel=30\n";
    {
        SiblingSettingsStore store(removed);
        ASSERT_TRUE(store.IsOpen());
        fs::remove(removed);
        EXPECT_FALSE(store.WriteInteger("tododel", 5));
    }
    EXPECT_FALSE(fs::exists(removed));
}

// Booleans are written as 0 and 1; any number but 0 reads as true.
TEST(SiblingSettingsStoreTest, ReadsAndWritesDecimalIntegers)
{
    const test::TempFolder root;
    const fs::path file = root.Path() / "ピマロ.conf";
    std::ofstream(file, std::ios::binary) << "[General]\ntododel=30\nwakucolor=abc\nbigsml=0\nsevenchg=2\n";
    {
        const SiblingSettingsStore store(file);
        // "wakucolor" is no number, "tabalm" is absent.
        const std::tuple<std::string_view, std::optional<std::int32_t>, std::optional<bool>> cases[] = {
            {"tododel", 30, true},
            {"wakucolor", std::nullopt, std::nullopt},
            {"bigsml", 0, false},
            {"tabalm", std::nullopt, std::nullopt}};
        for (const auto& [key, integer, boolean] : cases) {
            EXPECT_EQ(store.ReadInteger(key), integer) << key;
            EXPECT_EQ(store.ReadBool(key), boolean) << key;
        }
    }

    const Settings written{30, TabPosition::Left, TabPosition::Top, false, true, 0x00FF8000, 0x00123456};
    {
        SiblingSettingsStore store(file);
        EXPECT_TRUE(WriteSettings(store, written));
    }
    const SiblingSettingsStore reread(file);
    EXPECT_EQ(reread.ReadInteger("bigsml"), 0);
    EXPECT_EQ(reread.ReadInteger("sevenchg"), 1);
    EXPECT_EQ(ReadSettings(reread, Settings{}), written);
}

TEST(SiblingSettingsStoreTest, DefaultStoreIsTheSiblingsPerUserFile)
{
    const SiblingSettingsStore store;
    EXPECT_TRUE(store.FileName().endsWith(QStringLiteral("/Ｖｅｌｋ/ピマロ.conf"))) << store.FileName().toStdString();
    EXPECT_EQ(store.IsOpen(), fs::exists(fs::path(store.FileName().toStdString())));
}

}  // namespace
}  // namespace dolvane
