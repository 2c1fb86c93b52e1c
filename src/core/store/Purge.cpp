#include "core/store/Purge.h"

#include "core/text/Cp932Codec.h"
#include "core/time/TimeTexts.h"

#include <cstddef>
#include <utility>

namespace dolvane {

std::vector<std::size_t> FindPurgeRows(const std::vector<ToDoRecord>& rows, DateTime now, int keepDays)
{
    const DateTime limit{now.days - keepDays};
    std::vector<std::size_t> found;
    for (std::size_t index = rows.size(); index-- > 0;) {
        const ToDoRecord& row = rows[index];
        if (!row.Completed) {
            continue;
        }
        const std::string& text = row.CompletedText.empty() ? row.DeadlineText : row.CompletedText;
        if (text.empty()) {
            continue;
        }
        try {
            if (ParseDateTimeText(text) < limit) {
                found.push_back(index);
            }
        } catch (const ConvertError&) {
            // A hand-edited date is no reason to delete a to-do, nor to stop looking at the others.
        }
    }
    return found;
}

std::string PurgeQuestionText(int keepDays, std::size_t count)
{
    static const std::string daysOf = Utf8ToCp932("保持日数の ");
    static const std::string toDosFound = Utf8ToCp932("日に該当するToDoが ");
    static const std::string askDelete = Utf8ToCp932("件見つかりました。削除しますか？");
    return daysOf + std::to_string(keepDays) + toDosFound + std::to_string(count) + askDelete;
}

const std::string& PurgeCaption()
{
    static const std::string caption = Utf8ToCp932("完了したToDoの削除確認");
    return caption;
}

void SelectRows(std::vector<ToDoRecord>& rows, const std::vector<std::size_t>& indices)
{
    for (const std::size_t index : indices) {
        if (index < rows.size()) {
            rows[index].Selected = true;
        }
    }
}

void RemoveRows(std::vector<ToDoRecord>& rows, const std::vector<std::size_t>& indices)
{
    // One compacting pass instead of an erase per index, so the order of `indices` does not matter.
    std::vector<bool> removed(rows.size(), false);
    for (const std::size_t index : indices) {
        if (index < rows.size()) {
            removed[index] = true;
        }
    }
    std::size_t kept = 0;
    for (std::size_t index = 0; index < rows.size(); ++index) {
        if (!removed[index]) {
            if (kept != index) {
                rows[kept] = std::move(rows[index]);
            }
            ++kept;
        }
    }
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(kept), rows.end());
}

}  // namespace dolvane
