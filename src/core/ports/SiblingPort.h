#pragma once

#include <cstdint>
#include <string_view>

namespace dolvane {

// What every record to the sibling starts with.
inline constexpr std::string_view kSiblingTag = "VelkA";

// The channel to the sibling sticky-note program. Sending when no sibling runs does nothing.
class SiblingPort {
public:
    virtual ~SiblingPort() = default;
    // `payload` starts with kSiblingTag; kind 0 tells that the list file was saved, kind 1 carries
    // sticky-note text. True when a sibling took the whole record; false when none runs or it did
    // not take it all in time.
    virtual bool Send(std::uint32_t kind, std::string_view payload) = 0;
    // Whether the sibling program runs now.
    virtual bool Running() const = 0;
};

}  // namespace dolvane
