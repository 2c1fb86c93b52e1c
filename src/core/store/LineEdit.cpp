#include "core/store/LineEdit.h"

#include "core/store/FileIo.h"

namespace dolvane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

std::string WithAppendedLine(std::string_view bytes, std::string_view line, std::size_t& lineNumber)
{
    lineNumber = SplitLines(bytes).size();
    const bool lastLineOpen = !bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r';
    std::string text;
    text.reserve(bytes.size() + line.size() + 2 * kLineEnd.size());
    text += bytes;
    if (lastLineOpen) {
        text += kLineEnd;
    }
    text += line;
    text += kLineEnd;
    return text;
}

std::string WithReplacedLine(std::string_view bytes, std::size_t start, std::size_t length, std::string_view line)
{
    std::string text;
    text.reserve(bytes.size() - length + line.size());
    text += bytes.substr(0, start);
    text += line;
    text += bytes.substr(start + length);
    return text;
}

bool WriteUnlessChanged(FileSystem& files, const std::filesystem::path& path, const FileFingerprint& read,
                        std::string_view bytes, FileError& error)
{
    const auto now = FingerprintOf(files, path, error);
    if (!now) {
        error.message = std::string("ToDoリストを保存できませんでした: ") + error.message;
        return false;
    }
    if (*now != read) {
        error.message = std::string("ToDoリストが読み込んだ後に他のプログラムで変更されています。"
                                    "変更内容は保存していません: ") +
                        path.string();
        return false;
    }
    if (!files.WriteFileAtomically(path, bytes, error)) {
        error.message = std::string("ToDoリストを保存できませんでした: ") + error.message;
        return false;
    }
    return true;
}

}  // namespace dolvane
