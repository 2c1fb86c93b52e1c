#include "core/text/NameValueList.h"

#include <algorithm>
#include <atomic>

namespace dolvane {

NameValueList::NameValueList(std::vector<std::string> entries) : entries_(std::move(entries))
{
    Touch();
}

void NameValueList::Touch() noexcept
{
    static std::atomic<std::uint64_t> lastRevision{0};
    revision_ = ++lastRevision;
}

void NameValueList::Add(std::string entry)
{
    entries_.push_back(std::move(entry));
    Touch();
}

void NameValueList::Add(std::string_view name, std::string_view value)
{
    std::string entry;
    entry.reserve(name.size() + 1 + value.size());
    entry.append(name).append(1, '=').append(value);
    entries_.push_back(std::move(entry));
    Touch();
}

std::string_view NameValueList::NameOf(std::string_view entry)
{
    return entry.substr(0, entry.find('='));
}

std::string_view NameValueList::ValueOf(std::string_view entry)
{
    const auto equals = entry.find('=');
    return equals == std::string_view::npos ? std::string_view{} : entry.substr(equals + 1);
}

std::optional<std::size_t> NameValueList::IndexOfName(std::string_view name) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (NameOf(entries_[i]) == name) {
            return i;
        }
    }
    return std::nullopt;
}

std::string_view NameValueList::Value(std::string_view name) const
{
    const auto index = IndexOfName(name);
    return index ? ValueOf(entries_[*index]) : std::string_view{};
}

void NameValueList::Sort()
{
    std::sort(entries_.begin(), entries_.end());
    Touch();
}

}  // namespace dolvane
