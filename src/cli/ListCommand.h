#pragma once

#include "cli/CliEnvironment.h"

#include <ostream>
#include <span>
#include <string>

namespace dolvane::cli {

// `list`: the rows a tab of the window would show, with their time texts and states at one
// moment, as text, tsv, csv or json. Returns the exit code; throws CliError.
int RunList(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out);

}  // namespace dolvane::cli
