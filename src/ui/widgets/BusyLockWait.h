#pragma once

// moc needs none of the port's declarations.
#include "core/ports/FileSystem.h"

namespace dolvane {

// The window's way of waiting for another writer's lock on the list: the busy cursor, and the
// events that are not the user's (timers, the sibling, notifications, repaints) served meanwhile,
// so the window never freezes. The user's own input waits: a click now must not start a second
// save inside this one.
class BusyLockWait final : public LockWaiting {
public:
    BusyLockWait() = default;
    ~BusyLockWait() override;
    BusyLockWait(const BusyLockWait&) = delete;
    BusyLockWait& operator=(const BusyLockWait&) = delete;

    void Pause(int milliseconds) override;
    void Over() override;

    // A save waits inside the window's own event handling: whatever would save, close the
    // window or change the rows waits until this is false.
    bool Waiting() const noexcept { return busy_; }

private:
    bool busy_ = false;
};

}  // namespace dolvane
