#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane::cli {

// A command that cannot go on: a wrong option, an unreadable file or date, a refused save. The
// message is UTF-8 and goes to stderr as it stands; the process ends with exit code 2.
class CliError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// cp932 text as UTF-8 for the terminal. Bytes that are not cp932 (a hand-edited file) show as
// U+FFFD instead of stopping the command.
std::string DisplayUtf8(std::string_view cp932);

// A command-line argument (UTF-8) as the cp932 the files hold, with the JIS readings a terminal's
// input method gives ("〜" for "～") taken as cp932's; `what` names the option in the error when
// a character has no cp932 form.
std::string ArgumentToCp932(std::string_view utf8, std::string_view what);

// cp932 to UTF-8 as DisplayUtf8 gives it, each distinct character converted through the codec
// once and remembered: the text of a long listing repeats the same few hundred characters.
class Cp932Transcoder final {
public:
    // One character: a lead and a trail byte, or a single byte.
    void AppendCharacter(std::string_view character, std::string& utf8);
    // The same written at `out`, which has room for three bytes; gives the end of what it wrote.
    char* Write(std::string_view character, char* out)
    {
        const auto lead = static_cast<unsigned char>(character[0]);
        std::uint32_t& known = character.size() == 2
                                   ? pairs_[(std::size_t{lead} << 8) | static_cast<unsigned char>(character[1])]
                                   : singles_[lead];
        if (known == 0) {
            known = Known(character);
        }
        out[0] = static_cast<char>(known & 0xFF);
        out[1] = static_cast<char>((known >> 8) & 0xFF);
        out[2] = static_cast<char>((known >> 16) & 0xFF);
        return out + (known >> 24);
    }

private:
    static std::uint32_t Known(std::string_view character);

    // UTF-8 bytes of a character packed little-end first, their count in the top byte; 0 until
    // the character is met.
    std::vector<std::uint32_t> pairs_ = std::vector<std::uint32_t>(std::size_t{1} << 16);
    std::array<std::uint32_t, 256> singles_{};
};

// Collects output, converting cp932 fields to UTF-8 as they come (each distinct character through
// the codec once), and writes it to a stream in large pieces. With `convert` false the bytes go
// out as cp932.
class Utf8Writer final {
public:
    Utf8Writer(std::ostream& out, bool convert);
    ~Utf8Writer();
    Utf8Writer(const Utf8Writer&) = delete;
    Utf8Writer& operator=(const Utf8Writer&) = delete;

    // How the single-byte characters of a field that would break the output's layout are written.
    enum class Escape {
        None,
        Tsv,   // a line break (CR LF, LF or CR) as \n, tab as \t, a backslash doubled
        Json,  // a JSON string's escapes, CR LF as one \n
        Line,  // line breaks as " / " and tabs as a blank, for reading on a terminal
    };

    // Appends a cp932 text. Only single-byte characters are escaped: a trail byte 0x5C inside a
    // double-byte character is not a backslash. When converting, a lead byte without a trail byte
    // within the text is written as a byte that can never pair with what follows, so a broken
    // field cannot swallow the separator or escape after it.
    void Field(std::string_view cp932, Escape escape = Escape::None);
    // A fixed text of the program's own in both encodings, converted once.
    struct Fixed {
        std::string cp932;
        std::string utf8;
    };
    void Text(const Fixed& text) { Put(convert_ ? text.utf8 : text.cp932); }
    // Appends ASCII (separators, escapes, numbers), the same in cp932 and UTF-8.
    void Ascii(std::string_view ascii) { Put(ascii); }
    void Ascii(char c)
    {
        *Room(1) = c;
        ++used_;
    }
    // Ends an output line; the text so far goes out once enough has gathered.
    void EndLine(std::string_view lineEnd = "\n");
    void Flush();

private:
    // Room for `size` more bytes at the end of what is gathered.
    char* Room(std::size_t size)
    {
        if (size > buffer_.size() - used_) {
            Grow(size);
        }
        return buffer_.data() + used_;
    }
    void Grow(std::size_t size);
    void Put(std::string_view bytes)
    {
        std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
        used_ += bytes.size();
    }
    void AppendEscaped(char c, bool lineBreak, Escape escape);
    std::size_t AppendConvertedRun(std::string_view cp932, std::size_t from);

    std::ostream& out_;
    bool convert_;
    std::string buffer_;    // UTF-8, or cp932 without `convert`; its first `used_` bytes are output
    std::size_t used_ = 0;  // not yet written
    Cp932Transcoder transcoder_;
};

// Whether a cp932 byte may follow a lead byte.
constexpr bool IsCp932TrailByte(unsigned char byte) noexcept
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

}  // namespace dolvane::cli
