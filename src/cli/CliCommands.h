#pragma once

#include "cli/CliEnvironment.h"

#include <ostream>
#include <span>
#include <string>

namespace dolvane::cli {

// Runs one command line (the arguments after the program name, UTF-8). Errors go to `err` with
// exit code 2; success is 0.
int RunCli(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out,
           std::ostream& err);

}  // namespace dolvane::cli
