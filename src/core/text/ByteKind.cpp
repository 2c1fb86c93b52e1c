#include "core/text/ByteKind.h"

#include <cassert>

namespace dolvane {

ByteKind ByteKindAt(std::string_view text, std::size_t position)
{
    assert(position < text.size());
    std::size_t i = 0;
    while (i < position) {
        i += IsCp932LeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    if (i > position) {
        return ByteKind::Trail;
    }
    return IsCp932LeadByte(static_cast<unsigned char>(text[position])) ? ByteKind::Lead : ByteKind::Single;
}

std::vector<ByteKind> ByteKinds(std::string_view text)
{
    std::vector<ByteKind> kinds(text.size(), ByteKind::Single);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsCp932LeadByte(static_cast<unsigned char>(text[i]))) {
            kinds[i] = ByteKind::Lead;
            if (i + 1 < text.size()) {
                kinds[++i] = ByteKind::Trail;
            }
        }
    }
    return kinds;
}

std::string_view WholeCharacters(std::string_view text, std::size_t maxBytes)
{
    text = text.substr(0, maxBytes);
    if (!text.empty() && ByteKindAt(text, text.size() - 1) == ByteKind::Lead) {
        text.remove_suffix(1);
    }
    return text;
}

bool ContainsWholeCharacters(std::string_view text, std::string_view pattern)
{
    if (pattern.empty()) {
        return false;
    }
    std::size_t at = text.find(pattern);
    if (at == std::string_view::npos) {
        return false;
    }
    // The kinds are worked out only once a byte match is there to check; most lines have none.
    const std::vector<ByteKind> kinds = ByteKinds(text);
    const auto boundary = [&kinds](std::size_t position) {
        return position >= kinds.size() || kinds[position] != ByteKind::Trail;
    };
    for (; at != std::string_view::npos; at = text.find(pattern, at + 1)) {
        if (boundary(at) && boundary(at + pattern.size())) {
            return true;
        }
    }
    return false;
}

}  // namespace dolvane
