#include "cli/CalendarCommands.h"

#include "cli/CliText.h"
#include "core/calendar/CalendarModel.h"
#include "core/calendar/Holidays.h"
#include "core/store/ListStore.h"
#include "core/text/ByteKind.h"
#include "core/text/Cp932Codec.h"
#include "core/text/Numbers.h"
#include "core/time/TimeTexts.h"

#include <string>

namespace dolvane::cli {
namespace {

using Escape = Utf8Writer::Escape;

constexpr OptionRule kHolidayOptions[] = {{"--year"}, {"--holiday-file"}};
constexpr OptionRule kCalendarOptions[] = {{"--month"}, {"--file"}, {"--holiday-file"}, {"--now"}};

// Rule entries of the file that fall on the date; a derived holiday makes the count one higher.
int RuleEntriesOn(const HolidayCalendar& calendar, std::string_view mmdd, int year)
{
    int count = 0;
    for (const auto& entry : calendar.HolidayList().Entries()) {
        const auto key = NameValueList::NameOf(entry);
        if (!key.empty() && HolidayCalendar::RuleDateOf(key, year) == mmdd) {
            ++count;
        }
    }
    return count;
}

std::string_view KindWord(HolidayKind kind)
{
    switch (kind) {
    case HolidayKind::Marked:
        return "marked";
    case HolidayKind::SecondMarked:
        return "marked2";
    case HolidayKind::Plain:
        return "plain";
    case HolidayKind::Ordinary:
        break;
    }
    return "ordinary";
}

// The cell shows the derived name only where no unmarked rule names the day, so a derived
// holiday is one whose name is shown while the file itself has fewer entries for the day.
bool IsDerived(const HolidayCalendar& calendar, const HolidayName& shown, std::string_view date, int year)
{
    static const std::string substitute = Utf8ToCp932("振替休日");
    static const std::string citizens = Utf8ToCp932("国民の休日");
    if (shown.name != substitute && shown.name != citizens) {
        return false;
    }
    return calendar.HolidayCountOf(date, year) > RuleEntriesOn(calendar, date.substr(5, 5), year);
}

void WriteDayItems(Utf8Writer& writer, const DayItemView& items, const std::vector<ToDoRecord>& rows)
{
    for (const DayItem& item : items) {
        writer.Ascii("    ");
        writer.Field(item.row < rows.size() ? std::string_view(rows[item.row].FileLine) : std::string_view("?"));
        writer.Ascii(": ");
        writer.Field(WholeCharacters(item.Head(), DayItem::kHeadLength), Escape::Line);
        writer.Ascii("  ");
        writer.Field(item.StartTime());
        writer.Ascii('-');
        writer.Field(item.DeadlineTime());
        writer.Field(Utf8ToCp932("  進捗 "));
        writer.Field(item.ProgressDateText());
        writer.Ascii(' ');
        writer.Field(ZeroPadded(item.progressPercent, 3));
        writer.EndLine();
    }
}

}  // namespace

int RunHolidays(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out)
{
    const CommandLine line(arguments, kHolidayOptions, 0);
    const auto year = line.Number("--year", 1900, 9999);
    if (!year) {
        throw CliError("--year で年を指定してください");
    }
    // The window's rules (the sibling's file when it hosts the program, else the shipped one)
    // unless another file is named.
    const std::filesystem::path file =
        line.Value("--holiday-file").value_or(environment.paths.HolidayFilePath.string());
    const HolidayCalendar calendar(ReadHolidayFile(environment.files, file, true));

    Utf8Writer writer(out, true);
    const auto first = DayNumberOf(*year, 1, 1);
    const auto last = DayNumberOf(*year, 12, 31);
    for (auto day = first; day <= last; ++day) {
        const std::string date = FormatDateText(DateTime{static_cast<double>(day)});
        const HolidayName shown = calendar.HolidayNameOf(date, *year, std::string::npos);
        if (shown.name.empty()) {
            continue;
        }
        writer.Ascii(date);
        writer.Ascii('\t');
        writer.Field(shown.name, Escape::Tsv);
        writer.Ascii('\t');
        writer.Ascii(IsDerived(calendar, shown, date, *year) ? "derived" : KindWord(shown.kind));
        writer.EndLine();
    }
    writer.Flush();
    return 0;
}

int RunCalendar(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out)
{
    const CommandLine line(arguments, kCalendarOptions, 0);
    const auto month = line.Value("--month");
    if (!month) {
        throw CliError("--month で年月を yyyy/mm の形で指定してください");
    }
    const std::string monthText = ArgumentToCp932(*month, "--month");
    try {
        if (monthText.size() != 7) {
            throw ConvertError(ConvertError::Kind::Date, monthText);
        }
        ParseDateText(monthText + "/01");
    } catch (const ConvertError& error) {
        throw CliError("--month: " + DisplayUtf8(error.Message()) + " (yyyy/mm の形で指定してください)");
    }
    const auto holidayFile = line.Value("--holiday-file");
    const HolidayCalendar holidays(holidayFile ? ReadHolidayFile(environment.files, *holidayFile, true)
                                               : ProgramHolidayLines(environment));

    // The calendar is built from the rows of the "全て" tab, in file order.
    ListStore store(environment.files);
    FileError error;
    if (!store.LoadList(ListFileOption(line, environment), {}, NowOption(line, environment), error)) {
        throw CliError(error.message);
    }
    CalendarModel calendar;
    calendar.SetViewMode(CalendarMode::Month);
    if (!calendar.SetCalendarReference(monthText + "/01", store.Rows())) {
        throw CliError("--month: " + *month);
    }

    Utf8Writer writer(out, true);
    writer.Field(calendar.CaptionText());
    writer.EndLine();
    // The month view fills a seventh week that the grid never shows.
    constexpr int kShownWeeks = 6;
    for (int row = 1; row <= kShownWeeks; ++row) {
        bool weekStarted = false;
        for (int column = 0; column < CalendarModel::kColumns; ++column) {
            const std::string& date = calendar.CellText(column, row);
            // Cells before 0001/01/01 and after 9999/12/31 have no date to show.
            if (date.empty()) {
                continue;
            }
            if (!weekStarted) {
                writer.EndLine();
                weekStarted = true;
            }
            writer.Field(date);
            writer.Ascii(" (");
            writer.Field(calendar.CellText(column, 0));
            writer.Ascii(')');
            if (const std::string names = holidays.HolidayTextOf(date); !names.empty()) {
                writer.Ascii(' ');
                writer.Field(names, Escape::Line);
            }
            writer.EndLine();
            WriteDayItems(writer, calendar.DayTodoLists().Items(date), store.Rows());
        }
    }
    writer.Flush();
    return 0;
}

}  // namespace dolvane::cli
