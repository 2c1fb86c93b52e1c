#pragma once

#include "core/ports/ConversionLibrary.h"

#include <filesystem>
#include <memory>

namespace dolvane {

// Loads "libCharacterConversion.so" from `folder`, by full path only: the library search path and
// the current folder are never consulted, so a library planted there is not picked up. A relative
// or empty folder, a missing file, or a library without both entries "_StringConversion" and
// "_DeleteBuf" gives nullptr (and nothing stays loaded). The library is unloaded with the object.
std::unique_ptr<ConversionLibrary> LoadConversionLibrary(const std::filesystem::path& folder);

// The library next to the running executable. Needs the application object, so only the window
// (dolvane_platform) has it; the command-line companion passes its own folder to the loader above.
std::unique_ptr<ConversionLibrary> LoadConversionLibraryBesideExecutable();

}  // namespace dolvane
