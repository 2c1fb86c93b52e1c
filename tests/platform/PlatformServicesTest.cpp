#include "platform/ConversionLibraryLoader.h"
#include "platform/SiblingSettingsStore.h"
#include "platform/SystemClock.h"
#include "platform/SystemPaths.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

// The QCoreApplication these services need comes from the environment in SiblingChannelTest.cpp.

namespace dolvane {
namespace {

namespace fs = std::filesystem;

const fs::path kFullFolder = FAKE_CHARCONV_FULL_DIR;
const fs::path kPartialFolder = FAKE_CHARCONV_PARTIAL_DIR;
constexpr const char* kLibraryName = "libCharacterConversion.so";

fs::path PathOf(const QTemporaryDir& dir)
{
    return {dir.path().toStdString()};
}

// Asks the dynamic loader whether the file is in the process, without loading it.
bool IsLoaded(const fs::path& file)
{
    void* handle = ::dlopen(file.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (handle != nullptr) {
        ::dlclose(handle);
    }
    return handle != nullptr;
}

int DeleteBufCalls(const fs::path& file)
{
    void* handle = ::dlopen(file.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (handle == nullptr) {
        return -1;
    }
    const auto calls = reinterpret_cast<int (*)()>(::dlsym(handle, "FakeDeleteBufCalls"));
    const int count = calls != nullptr ? calls() : -1;
    ::dlclose(handle);
    return count;
}

std::string ReadText(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const fs::path& file, const std::string& text)
{
    std::ofstream(file, std::ios::binary) << text;
}

// Changes the working folder for one test and goes back afterwards.
class WorkingFolder final {
public:
    explicit WorkingFolder(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
    ~WorkingFolder() { fs::current_path(previous_); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    fs::path previous_;
};

TEST(ConversionLibraryTest, ConvertsAndReleasesTheLibrarysBufferAfterCopying)
{
    struct Case {
        std::string_view source;
        std::string_view mode;
        std::int32_t count;
        std::uint8_t flag;
        std::string expected;
    };
    const Case cases[] = {
        {"ab\x82\xa0z", "Upper", 0, 0, "AB\x82\xa0Z"},          // cp932 bytes pass through untouched
        {std::string_view("abcdef", 3), "Upper", 0, 0, "ABC"},  // a view is cut at its own end
        {"abc", std::string_view("UpperCase", 5), 0, 0, "ABC"},
        {"abc", "Echo", 0, 0, "abc"},
        {"", "Arguments", -1, 255, "count=-1 flag=255 empty=[]"},
        {"abc", "Null", 0, 0, ""},
    };
    const auto library = LoadConversionLibrary(kFullFolder);
    ASSERT_NE(library, nullptr);
    int expectedCalls = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode));
        EXPECT_EQ(library->Convert(c.source, c.mode, c.count, c.flag), c.expected);
        EXPECT_EQ(DeleteBufCalls(kFullFolder / kLibraryName), ++expectedCalls);
    }
}

TEST(ConversionLibraryTest, UnloadsWithTheObject)
{
    auto library = LoadConversionLibrary(kFullFolder);
    ASSERT_NE(library, nullptr);
    EXPECT_TRUE(IsLoaded(kFullFolder / kLibraryName));
    library.reset();
    EXPECT_FALSE(IsLoaded(kFullFolder / kLibraryName));
}

TEST(ConversionLibraryTest, RefusesWhatIsNotACompleteLibraryAtAnAbsolutePath)
{
    const QTemporaryDir empty;
    const fs::path folders[] = {kPartialFolder, kFullFolder / "missing", PathOf(empty), {}, "relative"};
    for (const auto& folder : folders) {
        SCOPED_TRACE(folder.string());
        EXPECT_EQ(LoadConversionLibrary(folder), nullptr);
    }
    // The library without _DeleteBuf is let go at once.
    EXPECT_FALSE(IsLoaded(kPartialFolder / kLibraryName));
}

TEST(ConversionLibraryTest, NeverLoadsALibraryFromTheWorkingFolder)
{
    const QTemporaryDir empty;
    const WorkingFolder inside(kFullFolder);
    for (const fs::path& folder : {fs::path(), fs::path("."), PathOf(empty)}) {
        SCOPED_TRACE(folder.string());
        EXPECT_EQ(LoadConversionLibrary(folder), nullptr);
    }
    EXPECT_FALSE(IsLoaded(kFullFolder / kLibraryName));
}

TEST(ConversionLibraryTest, LoadsFromAFolderWithAJapaneseName)
{
    const QTemporaryDir root;
    const fs::path folder = PathOf(root) / "Ｖｅｌｋ" / "ピマロ";
    fs::create_directories(folder);
    fs::copy_file(kFullFolder / kLibraryName, folder / kLibraryName);
    const auto library = LoadConversionLibrary(folder);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(library->Convert("a", "Upper", 0, 0), "A");
}

TEST(ConversionLibraryTest, BesideExecutableLoadsOnlyWhenTheFileIsThere)
{
    const bool present = fs::exists(ExecutableFolder() / kLibraryName);
    EXPECT_EQ(LoadConversionLibraryBesideExecutable() != nullptr, present);
}

TEST(SystemPathsTest, UserIsTheEffectiveAccount)
{
    const passwd* entry = ::getpwuid(::geteuid());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(CurrentUserName(), entry->pw_name);
}

TEST(SystemPathsTest, ProgramPathsStartAtTheExecutablesFolder)
{
    const fs::path executable = fs::canonical("/proc/self/exe");
    EXPECT_EQ(fs::canonical(ExecutableFolder()), executable.parent_path());

    const ProgramPaths paths = CurrentProgramPaths();
    EXPECT_EQ(paths.ListFilePath, ExecutableFolder() / "data" / CurrentUserName() / "todolist.txt");
    EXPECT_EQ(paths.SiblingFolder, fs::path("/opt/Ｖｅｌｋ/ピマロ"));
}

TEST(SystemClockTest, NowIsTheLocalWallClock)
{
    // An independent reading of local time, through the C library rather than Qt.
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    const DateTime expected = EncodeDateTime(DateTimeParts{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                                           local.tm_hour, local.tm_min, local.tm_sec, 0});
    EXPECT_LT(std::abs(SystemClock().Now().days - expected.days) * 86400.0, 3.0);
}

TEST(SiblingSettingsStoreTest, AbsentStoreIsNeitherReadNorCreated)
{
    const QTemporaryDir root;
    const fs::path file = PathOf(root) / "Ｖｅｌｋ" / "ピマロ.conf";
    {
        SiblingSettingsStore store(file);
        EXPECT_FALSE(store.IsOpen());
        EXPECT_EQ(store.ReadInteger("tododel"), std::nullopt);
        EXPECT_EQ(store.ReadBool("bigsml"), std::nullopt);
        EXPECT_FALSE(store.WriteInteger("tododel", 3));
        EXPECT_FALSE(store.WriteBool("bigsml", true));
        EXPECT_FALSE(WriteSettings(store, Settings{}));
    }
    EXPECT_FALSE(fs::exists(file.parent_path()));
}

TEST(SiblingSettingsStoreTest, ReadsNumbersAndTakesAnyNonZeroAsTrue)
{
    const QTemporaryDir root;
    const fs::path file = PathOf(root) / "ピマロ.conf";
    WriteText(file, "[General]\ntododel=30\nbarcolor=-1\nwakucolor=abc\nbigsml=0\nsevenchg=2\n");
    const SiblingSettingsStore store(file);
    ASSERT_TRUE(store.IsOpen());

    const struct {
        std::string_view key;
        std::optional<std::int32_t> integer;
        std::optional<bool> boolean;
    } cases[] = {
        {"tododel", 30, true}, {"barcolor", -1, true}, {"wakucolor", std::nullopt, std::nullopt},  // not a number
        {"bigsml", 0, false},  {"sevenchg", 2, true},  {"tabalm", std::nullopt, std::nullopt},     // absent
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key));
        EXPECT_EQ(store.ReadInteger(c.key), c.integer);
        EXPECT_EQ(store.ReadBool(c.key), c.boolean);
    }
}

TEST(SiblingSettingsStoreTest, WritesSettingsAsIntegersThatReadBack)
{
    const QTemporaryDir root;
    const fs::path file = PathOf(root) / "ピマロ.conf";
    WriteText(file, "");
    const Settings written{30, TabPosition::Left, TabPosition::Top, false, true, 0x00FF8000, 0x00123456};
    {
        SiblingSettingsStore store(file);
        EXPECT_TRUE(WriteSettings(store, written));
    }
    const std::string text = ReadText(file);
    EXPECT_NE(text.find("bigsml=0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("sevenchg=1\n"), std::string::npos) << text;
    EXPECT_EQ(ReadSettings(SiblingSettingsStore(file), Settings{}), written);
}

TEST(SiblingSettingsStoreTest, StoreRemovedAfterOpeningIsNotRecreated)
{
    const QTemporaryDir root;
    const fs::path file = PathOf(root) / "ピマロ.conf";
    WriteText(file, "[General]\ntododel=30\n");
    {
        SiblingSettingsStore store(file);
        ASSERT_TRUE(store.IsOpen());
        fs::remove(file);
        EXPECT_FALSE(store.WriteInteger("tododel", 5));
    }
    EXPECT_FALSE(fs::exists(file));
}

TEST(SiblingSettingsStoreTest, DefaultStoreIsTheSiblingsPerUserFile)
{
    const SiblingSettingsStore store;
    EXPECT_TRUE(store.FileName().endsWith(QStringLiteral("/Ｖｅｌｋ/ピマロ.conf"))) << store.FileName().toStdString();
    EXPECT_EQ(store.IsOpen(), fs::exists(fs::path(store.FileName().toStdString())));
}

}  // namespace
}  // namespace dolvane
