#pragma once

#include "cli/CliEnvironment.h"

#include <ostream>
#include <span>
#include <string>

namespace dolvane::cli {

// `sync`: one two-way pass between the list file and the CalDAV collection set up before, with a
// one-line summary on `out`. `sync --setup URL USER` finds the collection from a server address,
// asks the password (on the terminal without echo, else the first line of standard input) and
// stores the three. Returns the exit code; a failure throws (SyncError, CliError).
int RunSync(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out);

}  // namespace dolvane::cli
