#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace dolvane {

// The desktop's notification service. Texts are UTF-8. Which notification the user clicked comes
// back to the window by the id `Notify` gave; the window asks the reminders which to-do it was.
class Notifier {
public:
    virtual ~Notifier() = default;
    // Shows one notification without waiting for the service. An id for it, given at once, or
    // nothing when it cannot be sent; a missing service is not an error and is never reported.
    virtual std::optional<std::uint32_t> Notify(std::string_view title, std::string_view body) = 0;
};

}  // namespace dolvane
