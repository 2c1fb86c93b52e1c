#include "core/sync/SyncRules.h"

namespace dolvane {

SyncStep DecideStep(SideChange local, SideChange remote)
{
    switch (local) {
    case SideChange::Unchanged:
        return remote == SideChange::Unchanged ? SyncStep::Nothing
               : remote == SideChange::Changed ? SyncStep::TakeRemote
                                               : SyncStep::RemoveLine;
    case SideChange::Changed:
        return remote == SideChange::Unchanged ? SyncStep::SendLocal
               : remote == SideChange::Changed ? SyncStep::MergeBoth
                                               : SyncStep::SendAgain;
    case SideChange::Deleted:
        // A delete here of a to-do edited there would lose that edit: it comes back instead.
        return remote == SideChange::Unchanged ? SyncStep::DeleteRemote
               : remote == SideChange::Changed ? SyncStep::TakeRemote
                                               : SyncStep::Forget;
    }
    return SyncStep::Nothing;
}

}  // namespace dolvane
