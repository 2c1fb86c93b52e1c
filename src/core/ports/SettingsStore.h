#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace dolvane {

// Where the settings live: "data.ini" next to the program, or the sibling program's per-user
// store when the program is installed inside its folder. An absent value is nullopt.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The sibling's store belongs to the sibling: it is opened, never created, so it may be absent.
    virtual bool IsOpen() const = 0;
    virtual std::optional<std::int32_t> ReadInteger(std::string_view key) const = 0;
    virtual std::optional<bool> ReadBool(std::string_view key) const = 0;
    virtual bool WriteInteger(std::string_view key, std::int32_t value) = 0;
    virtual bool WriteBool(std::string_view key, bool value) = 0;
};

}  // namespace dolvane
