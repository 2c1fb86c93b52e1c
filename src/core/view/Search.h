#pragma once

#include "core/ports/ConversionLibrary.h"

#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// The search of the "検索" tab over the value part of list-file lines (flag, importance,
// progress, executor, category, task with "･･" for line breaks). Built once per reload: the
// conversions of the search text through the conversion library are made here, not per line.
class SearchMatcher final {
public:
    // `library` may be null (absent); texts are cp932.
    SearchMatcher(std::string searchText, bool caseSensitive, ConversionLibrary* library);

    // In this order: the text as entered; nothing more when the search is case-sensitive; the
    // library's conversions of the text (default width conversion both ways, katakana to
    // hiragana, hiragana to katakana, hiragana to half-width katakana, half-width katakana to
    // hiragana); both sides lower-cased. Every step matches whole characters of the stored text,
    // never a trail byte that only looks like a search character. An empty search text finds
    // nothing.
    bool Matches(std::string_view value) const;

private:
    std::string search_;
    bool caseSensitive_;
    std::vector<std::string> conversions_;
    std::u16string loweredSearch_;
};

}  // namespace dolvane
