#pragma once

#include <cstdint>
#include <string_view>

namespace dolvane {

// The channel to the sibling sticky-note program. Sending when no sibling runs does nothing.
class SiblingPort {
public:
    virtual ~SiblingPort() = default;
    virtual void Send(std::uint32_t kind, std::string_view payload) = 0;
};

}  // namespace dolvane
