#include "cli/ExportCommand.h"

#include "cli/CliText.h"
#include "cli/IcsExport.h"
#include "cli/ListCommand.h"
#include "sync/IcsText.h"

namespace dolvane::cli {
namespace {

constexpr OptionRule kExportOptions[] = {
    {"--file"},         {"--view"},        {"--category"}, {"--search"},
    {"--exact", false}, {"--fold", false}, {"--now"},      {"--format"},
};

}  // namespace

int RunExport(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out)
{
    const CommandLine line(arguments, kExportOptions, 0);
    const auto format = line.Value("--format");
    if (!format) {
        throw CliError("--format を指定してください (ics)");
    }
    if (*format != "ics") {
        throw CliError("--format には ics を指定してください: " + *format);
    }
    // --now stamps the export (DTSTAMP); the rows' own times do not depend on it.
    IcsWriter writer(out, LocalTimeZoneName(), NowOption(line, environment));
    VisitViewRows(line, environment, [&writer](ToDoRecord& row) { writer.Row(row); });
    writer.Finish();
    return 0;
}

}  // namespace dolvane::cli
