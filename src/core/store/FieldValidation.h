#pragma once

#include "core/store/RecordLine.h"
#include "core/store/ToDoRecord.h"

#include <optional>
#include <string>
#include <string_view>

namespace dolvane {

// Why `cp932Text` cannot be stored in `field`, as a message for the user in UTF-8 naming the
// field; nullopt when it can. Every editor checks a field through this before it changes a row,
// so no edit can produce a list-file line that reads back as something else.
//
// The task is the last piece of a line and takes any bytes, but it must say something (see
// IsBlankTask); computed fields are not edited and pass unchecked.
std::optional<std::string> FieldError(Field field, std::string_view cp932Text);

}  // namespace dolvane
