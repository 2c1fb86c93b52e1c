#pragma once

#include "core/store/ToDoRecord.h"
#include "core/time/DateTime.h"

#include <cstddef>
#include <string>
#include <vector>

namespace dolvane {

// Completed to-dos older than the keeping period, as row indices from the highest down (the
// order in which they are removed). A row's age is its completion time, else its deadline; a
// completed row with neither, or with a text that is not a date and time, is kept.
std::vector<std::size_t> FindPurgeRows(const std::vector<ToDoRecord>& rows, DateTime now, int keepDays);

// The question put before removing the found rows, and its caption (cp932).
std::string PurgeQuestionText(int keepDays, std::size_t count);
const std::string& PurgeCaption();

// Selects the rows at `indices`; rows already selected stay selected.
void SelectRows(std::vector<ToDoRecord>& rows, const std::vector<std::size_t>& indices);

// Removes the rows at `indices`, in any order; indices past the end are ignored.
void RemoveRows(std::vector<ToDoRecord>& rows, const std::vector<std::size_t>& indices);

}  // namespace dolvane
