#pragma once

namespace dolvane {

// How a synced to-do stands on one side against its base (the line and the server's object as
// last synced).
enum class SideChange { Unchanged, Changed, Deleted };

enum class SyncStep {
    Nothing,
    SendLocal,     // PUT the local line (If-Match the server's ETag)
    TakeRemote,    // replace the line with the server's version (re-add it when it was deleted here)
    MergeBoth,     // MergeRecords, then SendLocal and/or TakeRemote as the outcome needs
    DeleteRemote,  // DELETE with If-Match (412: keep it, re-add the line)
    RemoveLine,    // deleted there, unchanged here
    SendAgain,     // deleted there but changed here: PUT again (new UID if the old is refused)
    Forget,        // deleted on both sides: drop the state entry
};

// The three-way rule. Nothing is lost: an edit on either side outweighs a delete on the other.
SyncStep DecideStep(SideChange local, SideChange remote);

}  // namespace dolvane
