#include "core/store/FieldValidation.h"

#include "core/store/RecordLine.h"
#include "core/text/ByteKind.h"
#include "core/text/Numbers.h"
#include "core/time/TimeTexts.h"

#include <cstdint>

namespace dolvane {
namespace {

bool IsWholeNumberUpTo(std::string_view text, std::int32_t maximum)
{
    const auto value = DigitsValue(text);
    return value && *value <= maximum;
}

bool IsDateTimeOrEmpty(std::string_view text)
{
    if (text.empty()) {
        return true;
    }
    try {
        ParseDateTimeText(text);
        return true;
    } catch (const ConvertError&) {
        return false;
    }
}

// The reader finds a marker by a plain byte search, so the text must not hold the marker, nor
// complete it with its own last bytes ("a@\" before "@\@"), nor hide it behind a double-byte
// character whose trail byte is "@" (0x81 0x40 is the full-width blank).
bool MarkerEndsFieldCleanly(std::string_view text, std::string_view marker)
{
    std::string withMarker(text);
    withMarker += marker;
    return withMarker.find(marker) == text.size();
}

std::optional<std::string> OneLineFieldError(std::string_view text, std::string_view name, std::string_view ownMarker)
{
    if (text.find_first_of("\r\n") != std::string_view::npos) {
        return std::string(name) + "に改行は入れられません。";
    }
    if (text.find(kExecutorEnd) != std::string_view::npos || text.find(kCategoryEnd) != std::string_view::npos ||
        !MarkerEndsFieldCleanly(text, ownMarker)) {
        return std::string(name) + "に「" + std::string(kExecutorEnd) + "」や「" + std::string(kCategoryEnd) +
               "」と読める文字の並びは入れられません。";
    }
    return std::nullopt;
}

std::string DateTimeMessage(std::string_view name)
{
    return std::string(name) + "は「yyyy/mm/dd hh:nn」の形の日時で入力するか、空にしてください。";
}

}  // namespace

std::optional<std::string> FieldError(Field field, std::string_view cp932Text)
{
    switch (field) {
    case Field::Start:
        return IsDateTimeOrEmpty(cp932Text) ? std::nullopt : std::optional(DateTimeMessage("開始日時"));
    case Field::Deadline:
        return IsDateTimeOrEmpty(cp932Text) ? std::nullopt : std::optional(DateTimeMessage("期限（完了予定）"));
    case Field::Completed:
        return IsDateTimeOrEmpty(cp932Text) ? std::nullopt : std::optional(DateTimeMessage("完了日時"));
    case Field::Importance:
        if (cp932Text.size() != 1 || cp932Text[0] < '0' || cp932Text[0] > '5') {
            return "重要度は 0 から 5 までの数字一文字で入力してください。";
        }
        return std::nullopt;
    case Field::Executor:
        return OneLineFieldError(cp932Text, "実行者", kExecutorEnd);
    case Field::Category:
        return OneLineFieldError(cp932Text, "分類", kCategoryEnd);
    case Field::Progress:
        // Stored as three digits, so anything above 999 would not survive a save.
        if (!cp932Text.empty() && !IsWholeNumberUpTo(cp932Text, 999)) {
            return "進捗は 0 から 999 までの整数で入力するか、空にしてください。";
        }
        return std::nullopt;
    case Field::WarningHours:
        if (!cp932Text.empty() && !IsWholeNumberUpTo(cp932Text, 32767)) {
            return "警告時間は 0 から 32767 までの整数で入力するか、空にしてください。";
        }
        return std::nullopt;
    case Field::Task:
        if (IsBlankTask(cp932Text)) {
            return "すべきことを入力してください。";
        }
        return std::nullopt;
    case Field::Remaining:
    case Field::Elapsed:
    case Field::Warning:
    case Field::FileLine:
        break;
    }
    return std::nullopt;
}

}  // namespace dolvane
