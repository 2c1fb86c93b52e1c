#pragma once

#include "core/store/FileIo.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// A Windows-style INI file ("[section]" lines followed by "key=value" lines), held as its cp932
// lines so that a change touches one line and every other line, comment and unknown section is
// written back byte for byte. Names of sections and keys compare case-insensitively for ASCII
// letters only, as Windows does; bytes of double-byte characters always compare exactly.
// When a name occurs twice, the first section and, within it, the first entry count.
class IniFile final {
public:
    IniFile() = default;
    // `text` split at CR LF, CR or LF.
    explicit IniFile(std::string_view text);

    // A missing file gives an empty IniFile; a file that exists but cannot be read is an error,
    // so that a later Save never replaces contents it has not seen.
    static std::optional<IniFile> Load(FileSystem& files, const std::filesystem::path& path, FileError& error);
    bool Save(FileSystem& files, const std::filesystem::path& path, FileError& error) const;

    // The value of the entry, without blanks around it and without one pair of enclosing quotes.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // Replaces the value of an existing entry in its line (keeping the key's spelling there),
    // else adds "key=value" after the last entry of the section, else adds the section at the end.
    // `value` must not hold a line end.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Drops the section's header and every line up to the next section (comments in it included).
    void RemoveSection(std::string_view section);

    // Every line followed by CR LF, the line end Windows writes.
    std::string Text() const;
    const std::vector<std::string>& Lines() const noexcept { return lines_; }

private:
    std::vector<std::string> lines_;
};

}  // namespace dolvane
