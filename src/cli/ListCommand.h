#pragma once

#include "cli/CliEnvironment.h"
#include "core/store/ToDoRecord.h"

#include <functional>
#include <ostream>
#include <span>
#include <string>

namespace dolvane::cli {

// `list`: the rows a tab of the window would show, with their time texts and states at one
// moment, as text, tsv, csv or json. Returns the exit code; throws CliError.
int RunList(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out);

// The rows of the tab that --view, --category and --search choose (with --exact or --fold, and
// --file for the list), read from the list file one at a time in list order and handed to
// `visit`; their computed texts are left empty. Every option error is thrown before the file is
// read.
void VisitViewRows(const CommandLine& line, const CliEnvironment& environment,
                   const std::function<void(ToDoRecord&)>& visit);

}  // namespace dolvane::cli
