#pragma once

#include "core/store/ToDoRecord.h"

#include <cstdint>
#include <optional>

namespace dolvane {

// Row backgrounds as 0x00BBGGRR values.
inline constexpr std::uint32_t kOverdueColour = 0xEBD7FF;       // pink
inline constexpr std::uint32_t kWarningColour = 0xB0FFFF;       // light yellow
inline constexpr std::uint32_t kOldCompletedColour = 0xFFE2C8;  // light blue: due for the purge
inline constexpr std::uint32_t kCompletedColour = 0xC0FAD0;     // light green

// The background that tells the row's state at `now`, or nothing for the list's normal
// background. `keepDays` is the keeping period of completed to-dos. A date text that cannot be
// read counts as not set.
std::optional<std::uint32_t> RowColour(const ToDoRecord& row, DateTime now, int keepDays);

}  // namespace dolvane
