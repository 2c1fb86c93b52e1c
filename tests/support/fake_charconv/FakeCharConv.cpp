// A stand-in for the conversion library, for the loader's tests. Mode "Upper" upper-cases ASCII
// letters, "Arguments" describes what arrived, "Null" gives a null result, anything else echoes.
// Built without _DeleteBuf when FAKE_CHARCONV_PARTIAL is defined.

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#define FAKE_CHARCONV_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::string buffer;
int deleteBufCalls = 0;

}  // namespace

// The entry names are the library's own; they are reserved spellings in C++, but not ours to pick.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
FAKE_CHARCONV_EXPORT const char* _StringConversion(const char* source, const char* mode, std::int32_t count,
                                                   std::uint8_t flag, const char* empty)
{
    if (std::strcmp(mode, "Null") == 0) {
        return nullptr;
    }
    if (std::strcmp(mode, "Arguments") == 0) {
        // Not std::to_string: its digit table is a unique symbol, which would keep the library
        // loaded for good once it is the first to define it, and the unloading is under test.
        char numbers[48];
        std::snprintf(numbers, sizeof(numbers), "count=%d flag=%d", static_cast<int>(count), static_cast<int>(flag));
        buffer = std::string(numbers) + " empty=[" + empty + "]";
        return buffer.c_str();
    }
    buffer = source;
    if (std::strcmp(mode, "Upper") == 0) {
        for (char& c : buffer) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
    }
    return buffer.c_str();
}

#ifndef FAKE_CHARCONV_PARTIAL
// Spoils the text rather than freeing it, so a caller that reads the result after releasing it
// sees "#" instead of getting lucky.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
FAKE_CHARCONV_EXPORT void _DeleteBuf()
{
    buffer.assign(buffer.size(), '#');
    ++deleteBufCalls;
}
#endif

// Counts from zero again after every reload, as the counter lives in the library.
FAKE_CHARCONV_EXPORT int FakeDeleteBufCalls()
{
    return deleteBufCalls;
}
