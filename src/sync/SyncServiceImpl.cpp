#include "sync/SyncServiceImpl.h"

#include "sync/SyncConfig.h"
#include "sync/SyncRun.h"

namespace dolvane {

SyncServiceImpl::SyncServiceImpl(const Clock& clock, std::filesystem::path stateFile)
    : clock_(clock),
      stateFile_(std::move(stateFile))
{
}

bool SyncServiceImpl::Configured() const
{
    return ReadSyncConfig(files_, stateFile_).has_value();
}

SyncReport SyncServiceImpl::Run(const std::filesystem::path& listFile)
{
    try {
        return {true, SummaryText(RunConfiguredSync(files_, clock_, stateFile_, listFile))};
    } catch (const std::exception& error) {
        // SyncError and anything else a library throws (memory): the window shows it as it is.
        return {false, error.what()};
    }
}

}  // namespace dolvane
