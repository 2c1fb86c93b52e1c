#include "platform/MemoryRelease.h"

#include <cstdlib>  // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace dolvane {

void ReturnLargeBlocksWhenFreed()
{
#if defined(__GLIBC__)
    // The C library's own starting value; setting it at all keeps it from moving.
    constexpr int kLargeBlockBytes = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes);
#endif
}

}  // namespace dolvane
