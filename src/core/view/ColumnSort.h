#pragma once

#include "core/store/ToDoRecord.h"

#include <string_view>
#include <vector>

namespace dolvane {

// Compares two rows by the text of visible column `column` (0 to 10) with the locale's
// collation (not byte order): "100" falls between "10" and "20", empty texts come first.
// Negative, zero or positive; the sign is turned round when not ascending.
int CompareRowsByColumn(const ToDoRecord& a, const ToDoRecord& b, int column, bool ascending);

// Compares two cp932 texts with the same Japanese collation: negative, zero or positive.
int CollateCp932(std::string_view a, std::string_view b);

// Sorts the rows by one column. Each text is converted and turned into a collation key once,
// so a long list sorts without converting texts in every comparison.
void SortRowsByColumn(std::vector<ToDoRecord>& rows, int column, bool ascending);

}  // namespace dolvane
