#include "core/text/Cp932Codec.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <memory>

namespace dolvane {
namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const noexcept { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// ICU's "windows-31j" is Microsoft's cp932 table. The converter is opened once per thread and
// reset before each use; both directions stop at the first unconvertible unit instead of
// substituting, so the caller decides what happens.
UConverter& Cp932Converter()
{
    thread_local ConverterPtr converter = [] {
        UErrorCode status = U_ZERO_ERROR;
        ConverterPtr opened(ucnv_open("windows-31j", &status));
        if (U_FAILURE(status)) {
            throw std::runtime_error("the cp932 converter is not available");
        }
        ucnv_setToUCallBack(opened.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        ucnv_setFromUCallBack(opened.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        return opened;
    }();
    ucnv_reset(converter.get());
    return *converter;
}

// ICU's table comes from IBM and rotates three control codes (0x1A -> U+001C, 0x1C -> U+007F,
// 0x7F -> U+001A); Microsoft's cp932 maps all three to themselves. These undo the rotation on the
// Unicode side, which is one UTF-16 unit for one unit and leaves every other character alone.
char16_t ControlFromIcu(char16_t c) noexcept
{
    return c == u'\x1C' ? u'\x1A' : c == u'\x7F' ? u'\x1C' : c == u'\x1A' ? u'\x7F' : c;
}

char16_t ControlToIcu(char16_t c) noexcept
{
    return c == u'\x1A' ? u'\x1C' : c == u'\x1C' ? u'\x7F' : c == u'\x7F' ? u'\x1A' : c;
}

// Decodes as much as possible. On an invalid sequence either throws (strict) or appends U+FFFD
// and goes on after it.
std::u16string Decode(std::string_view bytes, bool strict)
{
    UConverter& converter = Cp932Converter();
    std::u16string result;
    result.resize(bytes.size());  // cp932 never yields more UTF-16 units than bytes
    const char* source = bytes.data();
    const char* const sourceEnd = bytes.data() + bytes.size();
    UChar* target = result.data();  // UChar is char16_t
    UChar* const targetEnd = target + result.size();
    for (;;) {
        UErrorCode status = U_ZERO_ERROR;
        ucnv_toUnicode(&converter, &target, targetEnd, &source, sourceEnd, nullptr, true, &status);
        if (U_SUCCESS(status)) {
            break;
        }
        if (status != U_ILLEGAL_CHAR_FOUND && status != U_INVALID_CHAR_FOUND && status != U_TRUNCATED_CHAR_FOUND) {
            throw std::runtime_error("cp932 decoding failed");
        }
        char invalid[8];
        int8_t invalidLength = sizeof invalid;
        UErrorCode invalidStatus = U_ZERO_ERROR;
        ucnv_getInvalidChars(&converter, invalid, &invalidLength, &invalidStatus);
        const auto offset = static_cast<std::size_t>(source - bytes.data()) - static_cast<std::size_t>(invalidLength);
        if (strict) {
            throw Cp932Error("invalid cp932 bytes", offset);
        }
        ucnv_reset(&converter);
        *target++ = u'\uFFFD';
    }
    result.resize(static_cast<std::size_t>(target - result.data()));
    for (char16_t& c : result) {
        c = ControlFromIcu(c);
    }
    return result;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8)
{
    std::u16string result;
    result.reserve(utf8.size());
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    for (int32_t i = 0; i < length;) {
        const int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c < 0) {
            throw Cp932Error("invalid UTF-8", static_cast<std::size_t>(start));
        }
        if (U_IS_BMP(c)) {
            result.push_back(static_cast<char16_t>(c));
        } else {
            result.push_back(static_cast<char16_t>(U16_LEAD(c)));
            result.push_back(static_cast<char16_t>(U16_TRAIL(c)));
        }
    }
    return result;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string result;
    result.reserve(text.size() * 3);
    const auto length = static_cast<int32_t>(text.size());
    const char16_t* const units = text.data();
    for (int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U16_NEXT(units, i, length, c);
        uint8_t buffer[U8_MAX_LENGTH];
        int32_t written = 0;
        UBool error = false;
        U8_APPEND(buffer, written, U8_MAX_LENGTH, c, error);
        if (error) {
            result.append("\xEF\xBF\xBD");  // a lone surrogate: U+FFFD
            continue;
        }
        result.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(written));
    }
    return result;
}

std::u16string DecodeCp932(std::string_view bytes)
{
    return Decode(bytes, true);
}

std::u16string DecodeCp932ForDisplay(std::string_view bytes)
{
    return Decode(bytes, false);
}

std::string EncodeCp932(std::u16string_view input)
{
    std::u16string text(input);
    for (char16_t& c : text) {
        c = ControlToIcu(c);
    }
    UConverter& converter = Cp932Converter();
    std::string result;
    result.resize(text.size() * 2);  // at most two bytes per UTF-16 unit
    const UChar* source = text.data();
    const UChar* const sourceStart = source;
    const UChar* const sourceEnd = source + text.size();
    char* target = result.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_fromUnicode(&converter, &target, result.data() + result.size(), &source, sourceEnd, nullptr, true, &status);
    if (U_FAILURE(status)) {
        UChar invalid[4];
        int8_t invalidLength = 4;
        UErrorCode invalidStatus = U_ZERO_ERROR;
        ucnv_getInvalidUChars(&converter, invalid, &invalidLength, &invalidStatus);
        const auto offset = static_cast<std::size_t>(source - sourceStart) - static_cast<std::size_t>(invalidLength);
        throw Cp932Error("character not representable in cp932", offset);
    }
    result.resize(static_cast<std::size_t>(target - result.data()));
    return result;
}

std::string Cp932ToUtf8(std::string_view bytes)
{
    return Utf16ToUtf8(DecodeCp932(bytes));
}

std::string Cp932ToUtf8ForDisplay(std::string_view bytes)
{
    return Utf16ToUtf8(DecodeCp932ForDisplay(bytes));
}

std::string Utf8ToCp932(std::string_view utf8)
{
    const std::u16string text = Utf8ToUtf16(utf8);
    try {
        return EncodeCp932(text);
    } catch (const Cp932Error& error) {
        // Report the offset in the caller's UTF-8 bytes, not in UTF-16 units.
        const std::string prefix = Utf16ToUtf8(std::u16string_view(text).substr(0, error.Offset()));
        throw Cp932Error(error.what(), prefix.size());
    }
}

}  // namespace dolvane
