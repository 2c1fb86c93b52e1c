#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// The known executors or categories of a drop-down list: in order of arrival, each value once,
// compared without regard to the case of ASCII letters as the drop-down's own search does. The
// list only grows while the program runs. Texts are cp932.
class ComboHistory final {
public:
    // Appends `text` unless it is empty or already known; true when it was appended.
    bool Remember(std::string_view text);
    bool Contains(std::string_view text) const;
    const std::vector<std::string>& Items() const noexcept { return items_; }

private:
    std::vector<std::string> items_;
};

}  // namespace dolvane
