#pragma once

#include "core/time/DateTime.h"

namespace dolvane {

// The wall clock. Nothing in core reads the time by itself, so every rule can be tested.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime Now() const = 0;
};

}  // namespace dolvane
