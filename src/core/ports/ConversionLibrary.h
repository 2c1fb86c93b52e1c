#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dolvane {

// The optional "CharacterConversion" library, loaded from the program's own folder. Texts are
// cp932.
class ConversionLibrary {
public:
    virtual ~ConversionLibrary() = default;
    // Converts `source` by the named mode; the library's own buffer is copied and released.
    virtual std::string Convert(std::string_view source, std::string_view mode, std::int32_t count,
                                std::uint8_t flag) = 0;
};

}  // namespace dolvane
