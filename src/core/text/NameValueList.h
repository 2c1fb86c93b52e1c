#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// An ordered list of "name=value" texts. The name of an entry is its text before the first "=",
// the value the text after it; an entry without "=" is all name and has an empty value.
// Lookups return the first entry whose name matches, so an earlier entry hides a later one.
class NameValueList final {
public:
    NameValueList() = default;
    explicit NameValueList(std::vector<std::string> entries);

    void Add(std::string entry);
    void Add(std::string_view name, std::string_view value);
    // Clears the list and gives back its room: a list refilled with a different number of
    // entries should not keep the largest it ever had.
    void Clear() noexcept
    {
        std::vector<std::string>().swap(entries_);
        Touch();
    }
    // Room for `count` entries in all, so a list filled with a known number of entries takes no
    // more than it needs.
    void Reserve(std::size_t count) { entries_.reserve(count); }

    // The value of the first entry named `name`; empty when there is none.
    std::string_view Value(std::string_view name) const;
    std::optional<std::size_t> IndexOfName(std::string_view name) const;

    // Sorts the entries by their whole text, byte by byte. The callers keep names of fixed width
    // ("05=", "2010/05/01=") so that byte order is the order they mean.
    void Sort();

    std::size_t Count() const noexcept { return entries_.size(); }
    bool Empty() const noexcept { return entries_.empty(); }
    const std::string& operator[](std::size_t index) const { return entries_[index]; }
    const std::vector<std::string>& Entries() const noexcept { return entries_; }

    static std::string_view NameOf(std::string_view entry);
    static std::string_view ValueOf(std::string_view entry);

    // A stamp that changes with every change of the entries and is never shared by two different
    // contents, so a lookup index built from a list can tell whether it is still current.
    std::uint64_t Revision() const noexcept { return revision_; }

    friend bool operator==(const NameValueList& a, const NameValueList& b) { return a.entries_ == b.entries_; }

private:
    void Touch() noexcept;

    std::vector<std::string> entries_;
    std::uint64_t revision_ = 0;  // 0: the empty list as constructed
};

}  // namespace dolvane
