#pragma once

namespace dolvane {

// Makes every large block of memory go back to the system when it is freed. Left to itself the C
// library raises the size from which it does so to the largest block freed so far, so once the
// list read at start was freed, the working blocks of each later step (a calendar fill, a sort,
// a reload) would stay with the window as unused room, tens of megabytes on a long list.
// Called once, before anything large is allocated.
void ReturnLargeBlocksWhenFreed();

}  // namespace dolvane
