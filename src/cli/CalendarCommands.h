#pragma once

#include "cli/CliEnvironment.h"

#include <ostream>
#include <span>
#include <string>

namespace dolvane::cli {

// `holidays --year YYYY`: every date of the year that has a holiday name, one per line as
// "yyyy/mm/dd<TAB>name<TAB>kind". The kind is "ordinary", "plain" (a name starting with a
// single-byte character), "marked" ("$"), "marked2" ("&") or "derived" (a substitute or
// citizens' holiday the program works out itself).
int RunHolidays(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out);

// `calendar --month yyyy/mm`: the dates of the month grid, week by week, each with its holiday
// and its to-do items (task head and progress) as the calendar shows them.
int RunCalendar(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out);

}  // namespace dolvane::cli
