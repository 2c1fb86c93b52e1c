#include "core/edit/ComboHistory.h"

#include "core/text/ByteKind.h"

#include <algorithm>

namespace dolvane {
namespace {

// Equal but for the case of single-byte ASCII letters; the bytes of double-byte characters must
// match exactly (a trail byte may look like a Latin letter).
bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (IsCp932LeadByte(x)) {
            if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) {
                return false;
            }
            ++i;
            continue;
        }
        if (lower(x) != lower(y)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool ComboHistory::Contains(std::string_view text) const
{
    return std::any_of(items_.begin(), items_.end(),
                       [text](const std::string& item) { return SameIgnoringCase(item, text); });
}

bool ComboHistory::Remember(std::string_view text)
{
    if (text.empty() || Contains(text)) {
        return false;
    }
    items_.emplace_back(text);
    return true;
}

}  // namespace dolvane
