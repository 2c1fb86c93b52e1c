#pragma once

#include "cli/CliEnvironment.h"

#include <ostream>
#include <span>
#include <string>

namespace dolvane::cli {

// `export --format ics`: the rows of a tab as the to-dos of an iCalendar object on `out`.
// Returns the exit code; throws CliError.
int RunExport(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out);

}  // namespace dolvane::cli
