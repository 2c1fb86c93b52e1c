#pragma once

#include "core/app/SettingsSession.h"
#include "core/app/ToDoDocument.h"

namespace dolvane {

// Once per run the status timer offers to delete the completed to-dos kept longer than the
// keeping period; the answer is saved at once.
class RetentionPurge final {
public:
    RetentionPurge(ToDoDocument& document, const SettingsSession& settings, Prompts& prompts);

    // The offer has not been made yet in this run.
    bool Pending() const noexcept { return pending_; }
    // A tick of the status timer: makes the offer once, unless keeping is switched off (0 days).
    void Tick();

private:
    void PurgeCompleted();

    ToDoDocument& document_;
    Prompts& prompts_;
    const SettingsSession& settings_;
    bool pending_ = true;
};

}  // namespace dolvane
