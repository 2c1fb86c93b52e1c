#pragma once

#include "core/ports/Clock.h"

namespace dolvane {

// The machine's local wall-clock time to the millisecond, read from the C library, so the window
// and the command-line companion tell the same time.
class LocalClock final : public Clock {
public:
    DateTime Now() const override;
};

}  // namespace dolvane
