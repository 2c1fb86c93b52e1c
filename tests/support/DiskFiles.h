#pragma once

// The real file system, for tests that read and write files in a temporary folder.
#include "platform/PosixFileSystem.h"

namespace dolvane::test {

inline PosixFileSystem& DiskFiles()
{
    static PosixFileSystem files;
    return files;
}

}  // namespace dolvane::test
