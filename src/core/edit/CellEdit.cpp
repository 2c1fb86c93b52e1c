#include "core/edit/CellEdit.h"

#include "core/text/Numbers.h"
#include "core/time/TimeTexts.h"

#include <array>

namespace dolvane {
namespace {

// By list column; the remaining and elapsed times (7, 8) are computed, never edited.
const std::array<std::optional<CellEditColumn>, kVisibleColumnCount> kColumns = {{
    CellEditColumn{Field::Start, CellEditorKind::DateTime, CellItems::None, " 開始", "開始日時の設定"},
    CellEditColumn{Field::Deadline, CellEditorKind::DateTime, CellItems::None, " 期限", "期限日時の設定"},
    CellEditColumn{Field::Importance, CellEditorKind::Choice, CellItems::Importance, "重要度", ""},
    CellEditColumn{Field::Executor, CellEditorKind::Choice, CellItems::Executors, "実行者", ""},
    CellEditColumn{Field::Task, CellEditorKind::Task, CellItems::None, "すべきこと", ""},
    CellEditColumn{Field::Category, CellEditorKind::Choice, CellItems::Categories, " 分類", ""},
    CellEditColumn{Field::Progress, CellEditorKind::Progress, CellItems::None, " 進捗", ""},
    std::nullopt,
    std::nullopt,
    CellEditColumn{Field::WarningHours, CellEditorKind::Warning, CellItems::None, " 警告", ""},
    CellEditColumn{Field::Completed, CellEditorKind::DateTime, CellItems::None, " 完了", "完了日時の設定"},
}};

}  // namespace

std::optional<CellEditColumn> CellEditColumnFor(int column)
{
    if (column < 0 || column >= kVisibleColumnCount) {
        return std::nullopt;
    }
    return kColumns[static_cast<std::size_t>(column)];
}

const std::vector<std::string>& ImportanceItems()
{
    static const std::vector<std::string> items = {"0", "1", "2", "3", "4", "5"};
    return items;
}

void WriteCellResult(ToDoRecord& row, Field field, std::string result)
{
    if (field == Field::WarningHours) {
        row.WarningText = WarningPeriodText(ParseInt32(result).value_or(0));
    }
    row.Text(field) = std::move(result);
}

}  // namespace dolvane
