#include "core/view/Search.h"

#include "core/text/ByteKind.h"
#include "core/text/Cp932Codec.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace dolvane {
namespace {

struct Conversion {
    const char* mode;
    std::int32_t count;
    std::uint8_t flag;
};
constexpr Conversion kConversions[] = {
    {"", -1, 1},
    {"", -1, 0},
    {"KataToHira", 0, 1},
    {"HiraToKata", 0, 1},
    {"HiraToHalfKata", 0, 1},
    {"HalfKataToHira", 0, 1},
};

// Lower-cased with the Japanese locale's rules (full-width Latin letters too); kana and kanji
// are left as they are.
std::u16string Lowered(std::string_view cp932)
{
    const std::u16string decoded = DecodeCp932ForDisplay(cp932);
    icu::UnicodeString text(decoded.data(), static_cast<int32_t>(decoded.size()));
    text.toLower(icu::Locale("ja"));
    return {reinterpret_cast<const char16_t*>(text.getBuffer()), static_cast<std::size_t>(text.length())};
}

}  // namespace

SearchMatcher::SearchMatcher(std::string searchText, bool caseSensitive, ConversionLibrary* library)
    : search_(std::move(searchText)),
      caseSensitive_(caseSensitive)
{
    if (search_.empty() || caseSensitive_) {
        return;
    }
    if (library != nullptr) {
        for (const Conversion& conversion : kConversions) {
            conversions_.push_back(library->Convert(search_, conversion.mode, conversion.count, conversion.flag));
        }
    }
    loweredSearch_ = Lowered(search_);
}

bool SearchMatcher::Matches(std::string_view value) const
{
    if (search_.empty()) {
        return false;
    }
    if (ContainsWholeCharacters(value, search_)) {
        return true;
    }
    if (caseSensitive_) {
        return false;
    }
    const bool converted = std::any_of(conversions_.begin(), conversions_.end(), [value](const std::string& text) {
        return ContainsWholeCharacters(value, text);
    });
    return converted || Lowered(value).find(loweredSearch_) != std::u16string::npos;
}

}  // namespace dolvane
