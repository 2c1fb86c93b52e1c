#pragma once

#include "cli/CliEnvironment.h"

#include <ostream>
#include <span>
#include <string>

namespace dolvane::cli {

// `add`: appends one to-do as the window's Add and Apply would on a filtered tab: the same field
// checks, the same new row, a merged atomic save that leaves every other line byte for byte and is
// refused when the file changed since it was read. Prints the new to-do's line number.
int RunAdd(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out);

// `done LINE`: marks the to-do of list-file line LINE (0-based, as list shows it) completed, with
// the completion time now, saved the same way. A line without "=" or with a blank task holds no
// to-do and is an error.
int RunDone(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out,
            std::ostream& err);

}  // namespace dolvane::cli
