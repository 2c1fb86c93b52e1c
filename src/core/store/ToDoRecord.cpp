#include "core/store/ToDoRecord.h"

#include "core/text/Cp932Codec.h"
#include "core/time/TimeTexts.h"

#include <array>

namespace dolvane {
namespace {

struct RowWords {
    std::string completed = Utf8ToCp932("完了");
    std::string noDeadline = Utf8ToCp932("無期限");
    std::string waiting = Utf8ToCp932("待機");
};

const RowWords& Words()
{
    static const RowWords words;
    return words;
}

struct ColumnCaptions {
    std::array<std::string, kVisibleColumnCount> plain = {
        Utf8ToCp932("開始日時"), Utf8ToCp932("期限（完了予定）"), Utf8ToCp932("重要度"),
        Utf8ToCp932("実行者"),   Utf8ToCp932("すべきこと"),       Utf8ToCp932("分類"),
        Utf8ToCp932("進捗"),     Utf8ToCp932("残り時間"),         Utf8ToCp932("経過時間"),
        Utf8ToCp932("警告"),     Utf8ToCp932("完了日時"),
    };
    std::string elapsedRate = Utf8ToCp932("経過率");
};

template <typename Record> auto& TextOf(Record& row, Field field)
{
    switch (field) {
    case Field::Start:
        return row.StartText;
    case Field::Deadline:
        return row.DeadlineText;
    case Field::Importance:
        return row.Importance;
    case Field::Executor:
        return row.Executor;
    case Field::Task:
        return row.TaskText;
    case Field::Category:
        return row.Category;
    case Field::Progress:
        return row.Progress;
    case Field::Remaining:
        return row.RemainingText;
    case Field::Elapsed:
        return row.ElapsedText;
    case Field::Warning:
        return row.WarningText;
    case Field::Completed:
        return row.CompletedText;
    case Field::WarningHours:
        return row.WarningHours;
    case Field::FileLine:
        break;
    }
    return row.FileLine;
}

}  // namespace

const std::string& ColumnCaption(int column, bool elapsedRate)
{
    static const ColumnCaptions captions;
    if (elapsedRate && column == static_cast<int>(Field::Elapsed)) {
        return captions.elapsedRate;
    }
    return captions.plain.at(static_cast<std::size_t>(column));
}

std::string& ToDoRecord::Text(Field field)
{
    return TextOf(*this, field);
}

const std::string& ToDoRecord::Text(Field field) const
{
    return TextOf(*this, field);
}

std::string RemainingTextFor(const ToDoRecord& row, std::string_view elapsedText, DateTime now)
{
    const RowWords& words = Words();
    if (row.Completed) {
        return words.completed;
    }
    if (row.DeadlineText.empty()) {
        return words.noDeadline;
    }
    if (elapsedText == words.waiting) {
        return {};
    }
    try {
        return RemainingTimeText(row.DeadlineText, now);
    } catch (const ConvertError&) {
        return {};
    }
}

ComputedTexts ComputeTexts(const ToDoRecord& row, DateTime now)
{
    ComputedTexts texts;
    // A date text that cannot be read (a hand-edited file) leaves its columns empty; the row
    // itself is shown and kept as it is.
    try {
        texts.elapsed = ElapsedTimeText(row.StartText, now);
    } catch (const ConvertError&) {
        texts.elapsed.clear();
    }
    texts.remaining = RemainingTextFor(row, texts.elapsed, now);
    texts.warning = WarningPeriodText(WarningHoursOf(row.WarningHours));
    return texts;
}

void ComputeRowTexts(ToDoRecord& row, DateTime now)
{
    ComputedTexts texts = ComputeTexts(row, now);
    row.RemainingText = std::move(texts.remaining);
    row.ElapsedText = std::move(texts.elapsed);
    row.WarningText = std::move(texts.warning);
}

}  // namespace dolvane
