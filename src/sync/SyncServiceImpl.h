#pragma once

#include "core/ports/Clock.h"
#include "core/ports/SyncService.h"
#include "platform/PosixFileSystem.h"

#include <filesystem>

namespace dolvane {

// The window's sync: the same pass as `dolvane-cli sync`, on files of its own so that a worker
// thread touches nothing of the window's.
class SyncServiceImpl final : public SyncService {
public:
    SyncServiceImpl(const Clock& clock, std::filesystem::path stateFile);

    bool Configured() const override;
    SyncReport Run(const std::filesystem::path& listFile) override;

private:
    const Clock& clock_;
    std::filesystem::path stateFile_;
    mutable PosixFileSystem files_;
};

}  // namespace dolvane
