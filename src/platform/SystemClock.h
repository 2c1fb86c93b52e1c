#pragma once

#include "core/app/Ports.h"

namespace dolvane {

// The machine's local wall-clock time, to the millisecond.
class SystemClock final : public Clock {
public:
    DateTime Now() const override;
};

}  // namespace dolvane
