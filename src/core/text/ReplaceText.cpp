#include "core/text/ReplaceText.h"

#include "core/text/ByteKind.h"

#include <cassert>

namespace dolvane {

std::string_view TrimControlAndBlanks(std::string_view text)
{
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string ReplaceText(std::string_view text, std::string_view from, std::string_view to)
{
    assert(from.size() == 2);
    if (text.find(from) == std::string_view::npos) {
        return std::string(TrimControlAndBlanks(text));  // the common case: nothing to replace
    }
    std::string result(text);
    if (result.size() >= 2 && from.size() == 2) {
        // A byte's kind depends only on the bytes before it, and every replacement happens at or
        // after the position being scanned, so the kinds of the original text stay valid for
        // every position still to be visited.
        const std::vector<ByteKind> kinds = ByteKinds(text);
        const ByteKind wanted = ByteKindAt(from, 0);
        for (std::size_t i = result.size() - 1; i-- > 0;) {
            if (result[i] == from[0] && result[i + 1] == from[1] && kinds[i] == wanted) {
                result.replace(i, 2, to);
            }
        }
    }
    return std::string(TrimControlAndBlanks(result));
}

}  // namespace dolvane
