#pragma once

#include "core/app/Ports.h"

namespace dolvane {

// The machine's local wall-clock time to the millisecond, read from the C library, for programs
// that have no Qt application object.
class LocalClock final : public Clock {
public:
    DateTime Now() const override;
};

}  // namespace dolvane
