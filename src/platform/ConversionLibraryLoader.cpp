#include "platform/ConversionLibraryLoader.h"

#include <dlfcn.h>

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

// dlsym hands back a data pointer; POSIX guarantees it converts to a function pointer.
template <typename Function> Function ResolveEntry(void* handle, const char* name)
{
    return reinterpret_cast<Function>(::dlsym(handle, name));  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}

class LoadedConversionLibrary final : public ConversionLibrary {
public:
    LoadedConversionLibrary(void* handle, StringConversionFunction convert, DeleteBufFunction deleteBuf)
        : handle_(handle),
          convert_(convert),
          deleteBuf_(deleteBuf)
    {
    }
    ~LoadedConversionLibrary() override { ::dlclose(handle_); }
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
    void* handle_;
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
    // Checked first: dlopen reports a missing file no differently from a broken one.
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return nullptr;
    }
    // The name holds a slash, so dlopen takes it as a path and never walks the search path.
    // RTLD_NOW finds missing symbols here rather than at the first search; RTLD_LOCAL keeps the
    // library's own symbols from resolving anything else in the process.
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return nullptr;
    }
    const auto convert = ResolveEntry<StringConversionFunction>(handle, "_StringConversion");
    const auto deleteBuf = ResolveEntry<DeleteBufFunction>(handle, "_DeleteBuf");
    if (convert == nullptr || deleteBuf == nullptr) {
        ::dlclose(handle);
        return nullptr;
    }
    return std::make_unique<LoadedConversionLibrary>(handle, convert, deleteBuf);
}

}  // namespace dolvane
