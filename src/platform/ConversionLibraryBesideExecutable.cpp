#include "platform/ConversionLibraryLoader.h"

#include "platform/SystemPaths.h"

namespace dolvane {

std::unique_ptr<ConversionLibrary> LoadConversionLibraryBesideExecutable()
{
    return LoadConversionLibrary(ExecutableFolder());
}

}  // namespace dolvane
