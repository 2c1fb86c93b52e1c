#pragma once

#include "core/store/ToDoRecord.h"

#include <string>
#include <string_view>

namespace dolvane {

// The deadline of a to-do made from `source` that starts at `newStartText`: as far after the new
// start as the source's end (its completion, else its deadline) lay after the source's start,
// counted in whole hours. "" when the source has neither end. An end before the start, or less
// than an hour after it, gives the new start itself.
//
// The source's start is read first, whatever its end, then the new start: a text that is not a
// date and time throws that reader's ConvertError.
std::string InheritedDeadline(const ToDoRecord& source, std::string_view newStartText);

// The fields a new to-do takes over from its source: importance, executor, task, category and
// the warning (hours and text).
void CopyInheritedFields(const ToDoRecord& source, ToDoRecord& target);

}  // namespace dolvane
