#include "core/store/LineEdit.h"

#include "core/store/FileIo.h"

namespace dolvane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

std::optional<std::string_view> LineAt(std::string_view bytes, std::size_t index)
{
    std::optional<std::string_view> found;
    std::size_t seen = 0;
    ForEachLine(bytes, [&](std::string_view line, std::string_view) {
        if (seen++ == index) {
            found = line;
            return false;
        }
        return true;
    });
    return found;
}

EditedFile WithAppendedLine(std::string_view bytes, std::string_view line)
{
    EditedFile edited;
    std::size_t lines = 0;
    ForEachLine(bytes, [&lines](std::string_view, std::string_view) { ++lines; });
    edited.lineNumber = lines;
    const bool lastLineOpen = !bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r';
    edited.pieces = {bytes, lastLineOpen ? kLineEnd : std::string_view(), line, kLineEnd};
    return edited;
}

EditedFile WithReplacedLine(std::string_view bytes, std::size_t start, std::size_t length, std::string_view line)
{
    EditedFile edited;
    edited.pieces = {bytes.substr(0, start), line, bytes.substr(start + length), std::string_view()};
    return edited;
}

bool WriteUnlessChanged(FileSystem& files, const std::filesystem::path& path, const std::optional<FileStamp>& read,
                        const EditedFile& edited, FileError& error)
{
    // A file missing at the read must still be missing; one that was read must be the same.
    if (files.StampOf(path) != read) {
        error.message = std::string("ToDoリストが読み込んだ後に他のプログラムで変更されています。"
                                    "変更内容は保存していません: ") +
                        path.string();
        return false;
    }
    if (!files.WriteFileAtomically(path, edited.pieces, error)) {
        error.message = std::string("ToDoリストを保存できませんでした: ") + error.message;
        return false;
    }
    return true;
}

}  // namespace dolvane
