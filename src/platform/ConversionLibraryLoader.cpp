#include "platform/ConversionLibraryLoader.h"

#include "platform/SystemPaths.h"

#include <QFile>
#include <QLibrary>

#include <string>
#include <system_error>
#include <utility>

namespace dolvane {
namespace {

constexpr const char* kLibraryFileName = "libCharacterConversion.so";

// The result is a zero-terminated text in the library's own buffer, valid until _DeleteBuf.
// `empty` is the text the library gives back for an empty result; we always pass "".
using StringConversionFunction = const char* (*)(const char* source, const char* mode, std::int32_t count,
                                                 std::uint8_t flag, const char* empty);
using DeleteBufFunction = void (*)();

class LoadedConversionLibrary final : public ConversionLibrary {
public:
    LoadedConversionLibrary(std::unique_ptr<QLibrary> library, StringConversionFunction convert,
                            DeleteBufFunction deleteBuf)
        : library_(std::move(library)),
          convert_(convert),
          deleteBuf_(deleteBuf)
    {
    }
    ~LoadedConversionLibrary() override { library_->unload(); }
    LoadedConversionLibrary(const LoadedConversionLibrary&) = delete;
    LoadedConversionLibrary& operator=(const LoadedConversionLibrary&) = delete;
    LoadedConversionLibrary(LoadedConversionLibrary&&) = delete;
    LoadedConversionLibrary& operator=(LoadedConversionLibrary&&) = delete;

    std::string Convert(std::string_view source, std::string_view mode, std::int32_t count, std::uint8_t flag) override
    {
        // The library reads up to the terminator, so views are copied into terminated strings.
        const std::string sourceText(source);
        const std::string modeText(mode);
        const char* result = convert_(sourceText.c_str(), modeText.c_str(), count, flag, "");
        std::string converted = result != nullptr ? std::string(result) : std::string();
        // Released even for a null result: the library may hold a buffer either way.
        deleteBuf_();
        return converted;
    }

private:
    std::unique_ptr<QLibrary> library_;
    StringConversionFunction convert_;
    DeleteBufFunction deleteBuf_;
};

}  // namespace

std::unique_ptr<ConversionLibrary> LoadConversionLibrary(const std::filesystem::path& folder)
{
    // A relative folder would be resolved against the current folder, exactly where a planted
    // library would sit.
    if (folder.empty() || !folder.is_absolute()) {
        return nullptr;
    }
    const std::filesystem::path file = folder / kLibraryFileName;
    // Checked first so QLibrary never goes on to try other spellings of a missing name.
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return nullptr;
    }
    auto library = std::make_unique<QLibrary>(QFile::decodeName(file.c_str()));
    if (!library->load()) {
        return nullptr;
    }
    const auto convert = reinterpret_cast<StringConversionFunction>(library->resolve("_StringConversion"));
    const auto deleteBuf = reinterpret_cast<DeleteBufFunction>(library->resolve("_DeleteBuf"));
    if (convert == nullptr || deleteBuf == nullptr) {
        library->unload();
        return nullptr;
    }
    return std::make_unique<LoadedConversionLibrary>(std::move(library), convert, deleteBuf);
}

std::unique_ptr<ConversionLibrary> LoadConversionLibraryBesideExecutable()
{
    return LoadConversionLibrary(ExecutableFolder());
}

}  // namespace dolvane
