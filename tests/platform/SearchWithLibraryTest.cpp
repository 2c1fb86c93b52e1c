// The conversion library this project builds, loaded the way the program loads it: by full path
// from the folder of the running executable.
#include "platform/ConversionLibraryLoader.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Sj;

TEST(SearchWithLibraryTest, EveryVoicedKanaSurvivesTheHalfWidthRoundTrip)
{
    const auto library = LoadConversionLibraryBesideExecutable();
    ASSERT_NE(library, nullptr) << "libCharacterConversion.so is built next to the tests";
    const std::string hiragana = Sj("がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ");
    const std::string half = library->Convert(hiragana, "HiraToHalfKata", 0, 1);
    EXPECT_EQ(half.size(), 50U) << "each one a kana and a mark, one byte each";
    EXPECT_EQ(library->Convert(half, "HalfKataToHira", 0, 1), hiragana);

    const std::string katakana = Sj("ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ");
    const std::string narrow = library->Convert(katakana, "", -1, 0);
    EXPECT_EQ(library->Convert(narrow, "", -1, 1), katakana);
}

}  // namespace
}  // namespace dolvane
