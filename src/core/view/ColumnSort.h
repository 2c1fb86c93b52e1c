#pragma once

#include "core/store/ToDoRecord.h"

#include <string_view>
#include <vector>

namespace dolvane {

// Compares two cp932 texts with the Japanese collation the columns sort by: negative, zero or
// positive.
int CollateCp932(std::string_view a, std::string_view b);

// Sorts the rows by the text of visible column `column` (0 to 10; any other leaves them) with the
// Japanese collation (not byte order): "100" falls between "10" and "20", empty texts come first.
// Each text is converted and turned into a collation key once, so a long list sorts without
// converting texts in every comparison.
void SortRowsByColumn(std::vector<ToDoRecord>& rows, int column, bool ascending);

}  // namespace dolvane
