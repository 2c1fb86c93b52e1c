#include "cli/IcsExport.h"

#include "core/store/RecordLine.h"
#include "core/text/Cp932Codec.h"
#include "core/time/TimeTexts.h"

#include <libical/ical.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>

namespace dolvane::cli {
namespace {

constexpr std::string_view kUidDomain = "@dolvane";
constexpr std::string_view kLineBreak = "\r\n";

// A component or property string of libical's, freed when it goes.
struct IcalString {
    explicit IcalString(char* owned) : text(owned) {}
    ~IcalString() { icalmemory_free_buffer(text); }
    IcalString(const IcalString&) = delete;
    IcalString& operator=(const IcalString&) = delete;
    std::string_view View() const { return text == nullptr ? std::string_view() : std::string_view(text); }

    char* text;
};

struct ComponentDeleter {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentDeleter>;

// The zone name inside a path into a zoneinfo folder ("/usr/share/zoneinfo/Asia/Tokyo").
std::optional<std::string> ZoneOfPath(std::string_view path)
{
    constexpr std::string_view kFolder = "zoneinfo/";
    const auto at = path.rfind(kFolder);
    if (at == std::string_view::npos || at + kFolder.size() == path.size()) {
        return std::nullopt;
    }
    return std::string(path.substr(at + kFolder.size()));
}

// The first line of a text with something besides blanks: the task's summary. A task always has
// one, or it is not a row.
std::string_view SummaryLine(std::string_view task)
{
    for (std::size_t from = 0; from <= task.size();) {
        auto end = task.find(kLineBreak, from);
        if (end == std::string_view::npos) {
            end = task.size();
        }
        const std::string_view line = task.substr(from, end - from);
        if (line.find_first_not_of(" \t") != std::string_view::npos) {
            return line;
        }
        from = end + kLineBreak.size();
    }
    return task;
}

// cp932 to UTF-8 with the line breaks as LF, which libical writes as "\n". A byte that is not
// cp932 (a hand-edited file) becomes U+FFFD rather than stopping the export. Other control
// characters have no place in an iCalendar text (only the tab does) and are left out.
std::string Utf8Text(std::string_view cp932)
{
    const std::string utf8 = Cp932ToUtf8ForDisplay(cp932);
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte == '\r') {
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') {
                ++i;
            }
            text += '\n';
        } else if (byte == '\t' || byte == '\n' || (byte >= 0x20 && byte != 0x7F)) {
            text += utf8[i];
        }
    }
    return text;
}

// Writes libical's text folded anew: libical folds at some lengths between a line's CR and its
// LF, which no reader takes as a line end. Its folds are undone and every line longer than 75
// octets is folded again, never inside a UTF-8 sequence. A content line never starts with a
// blank, so a line break before one is always a fold.
void WriteFolded(std::ostream& out, std::string_view text)
{
    constexpr std::size_t kLineOctets = 75;
    std::string unfolded;
    unfolded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == kLineBreak && i + 2 < text.size() && (text[i + 2] == ' ' || text[i + 2] == '\t')) {
            i += 2;
            continue;
        }
        unfolded += text[i];
    }
    std::string_view rest = unfolded;
    while (!rest.empty()) {
        const auto end = rest.find(kLineBreak);
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + kLineBreak.size());
        for (std::size_t room = kLineOctets;; room = kLineOctets - 1) {
            std::size_t cut = std::min(room, line.size());
            while (cut < line.size() && cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
                --cut;
            }
            if (cut == 0) {
                cut = std::min(room, line.size());  // not UTF-8 after all: cut by octets
            }
            out << line.substr(0, cut) << kLineBreak;
            line.remove_prefix(cut);
            if (line.empty()) {
                break;
            }
            out << ' ';
        }
    }
}

std::string_view TrimLineBreaks(std::string_view text)
{
    const auto first = text.find_first_not_of("\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of("\r\n") - first + 1);
}

icaltimetype WallTime(DateTime moment)
{
    const DateTimeParts parts = DecodeDateTime(moment);
    icaltimetype time = icaltime_null_time();
    time.year = parts.year;
    time.month = parts.month;
    time.day = parts.day;
    time.hour = parts.hour;
    time.minute = parts.minute;
    time.second = parts.second;
    time.is_date = 0;
    return time;
}

// 5 (most important) to 1 as RFC 5545's 1 (highest) to 9 (lowest); 0 and anything else has none.
std::optional<int> PriorityOf(std::string_view importance)
{
    if (importance.size() != 1 || importance[0] < '1' || importance[0] > '5') {
        return std::nullopt;
    }
    return 11 - 2 * (importance[0] - '0');
}

}  // namespace

std::string LocalTimeZoneName()
{
    if (const char* tz = std::getenv("TZ"); tz != nullptr) {
        std::string_view name(tz);
        if (name.starts_with(':')) {
            name.remove_prefix(1);
        }
        // An empty TZ is UTC to the C library.
        if (name.empty()) {
            return "UTC";
        }
        if (name.starts_with('/')) {
            return ZoneOfPath(name).value_or("");
        }
        return std::string(name);
    }
    std::error_code error;
    const auto target = std::filesystem::read_symlink("/etc/localtime", error);
    if (!error) {
        if (auto zone = ZoneOfPath(target.string())) {
            return *zone;
        }
    }
    std::ifstream timezone("/etc/timezone");
    std::string line;
    std::getline(timezone, line);
    return line;
}

std::string TodoUid(const ToDoRecord& row)
{
    std::uint64_t hash = 14695981039346656037ULL;
    const auto mix = [&hash](std::string_view bytes) {
        for (const char byte : bytes) {
            hash ^= static_cast<unsigned char>(byte);
            hash *= 1099511628211ULL;
        }
    };
    mix(row.StartText);
    // A separator that neither text holds, so "a" + "bc" and "ab" + "c" differ.
    mix(std::string_view("\0", 1));
    mix(SummaryLine(row.TaskText));
    std::string uid(16, '0');
    for (int digit = 15; digit >= 0; --digit) {
        uid[static_cast<std::size_t>(digit)] = "0123456789abcdef"[hash & 0xF];
        hash >>= 4;
    }
    return uid + std::string(kUidDomain);
}

struct IcsWriter::Calendar {
    enum class Times { Zoned, Utc, Floating };
    Times times = Times::Floating;
    icaltimezone* zone = nullptr;
    std::string tzid;
    icaltimetype stamp{};
    Component vtimezone;
    std::string closing;  // the calendar's last line, as libical writes it

    // A local moment in UTC: through libical's zone, or the C library's when libical has none.
    icaltimetype ToUtc(DateTime moment) const
    {
        icaltimetype time = WallTime(moment);
        if (times == Times::Floating) {
            std::tm local{};
            local.tm_year = time.year - 1900;
            local.tm_mon = time.month - 1;
            local.tm_mday = time.day;
            local.tm_hour = time.hour;
            local.tm_min = time.minute;
            local.tm_sec = time.second;
            local.tm_isdst = -1;
            const std::time_t seconds = std::mktime(&local);
            return icaltime_from_timet_with_zone(seconds, 0, icaltimezone_get_utc_timezone());
        }
        time.zone = times == Times::Zoned ? zone : icaltimezone_get_utc_timezone();
        return icaltime_convert_to_zone(time, icaltimezone_get_utc_timezone());
    }

    // DTSTART or DUE: the local time with its TZID, in UTC for a UTC machine, else floating.
    icalproperty* LocalProperty(icalproperty* (*make)(icaltimetype), DateTime moment) const
    {
        icaltimetype time = WallTime(moment);
        if (times == Times::Utc) {
            time.zone = icaltimezone_get_utc_timezone();
        }
        icalproperty* property = make(time);
        if (times == Times::Zoned) {
            icalproperty_add_parameter(property, icalparameter_new_tzid(tzid.c_str()));
        }
        return property;
    }
};

IcsWriter::IcsWriter(std::ostream& out, const std::string& zoneName, DateTime now)
    : out_(out),
      calendar_(std::make_unique<Calendar>())
{
    icalerror_set_errors_are_fatal(0);
    icaltimezone* zone = zoneName.empty() ? nullptr : icaltimezone_get_builtin_timezone(zoneName.c_str());
    if (zone == icaltimezone_get_utc_timezone()) {
        calendar_->times = Calendar::Times::Utc;
    } else if (zone != nullptr) {
        calendar_->times = Calendar::Times::Zoned;
        calendar_->zone = zone;
        calendar_->tzid = zoneName;
        // libical names its zones with a prefix of its own; the calendar names it as the tz
        // database does, which calendar programs recognise even without reading the VTIMEZONE.
        calendar_->vtimezone.reset(icalcomponent_new_clone(icaltimezone_get_component(zone)));
        if (icalproperty* tzid = icalcomponent_get_first_property(calendar_->vtimezone.get(), ICAL_TZID_PROPERTY)) {
            icalproperty_set_tzid(tzid, zoneName.c_str());
        }
    }
    calendar_->stamp = calendar_->ToUtc(now);
}

IcsWriter::~IcsWriter()
{
    calendar_->vtimezone.reset();
    icaltimezone_free_builtin_timezones();
}

void IcsWriter::Begin()
{
    begun_ = true;
    Component vcalendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(vcalendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(vcalendar.get(), icalproperty_new_prodid("-//Dolvane//dolvane-cli//JA"));
    icalcomponent_add_property(vcalendar.get(), icalproperty_new_calscale("GREGORIAN"));
    if (calendar_->vtimezone) {
        icalcomponent_add_component(vcalendar.get(), calendar_->vtimezone.release());
    }
    // The opening as libical writes it: everything before the calendar's closing line, after
    // which the to-dos follow one by one.
    const IcalString text{icalcomponent_as_ical_string_r(vcalendar.get())};
    const std::string_view whole = text.View();
    const auto closing = whole.rfind("END:VCALENDAR");
    WriteFolded(out_, whole.substr(0, closing));
    calendar_->closing = whole.substr(closing);
}

void IcsWriter::Row(const ToDoRecord& row)
{
    if (!begun_) {
        Begin();
    }
    Component todo(icalcomponent_new_vtodo());
    icalcomponent* vtodo = todo.get();

    std::string uid = TodoUid(row);
    if (const int count = ++uidCounts_[uid]; count > 1) {
        uid.insert(uid.size() - kUidDomain.size(), "-" + std::to_string(count));
    }
    icalcomponent_add_property(vtodo, icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(vtodo, icalproperty_new_dtstamp(calendar_->stamp));

    const std::string summary = Utf8Text(SummaryLine(row.TaskText));
    icalcomponent_add_property(vtodo, icalproperty_new_summary(summary.c_str()));
    // The whole task when it holds more than its summary line; the executor has no property of
    // its own and follows it.
    std::string description = Utf8Text(TrimLineBreaks(row.TaskText));
    if (description == summary) {
        description.clear();
    }
    if (!row.Executor.empty()) {
        description += description.empty() ? "" : "\n\n";
        description += "実行者: " + Utf8Text(row.Executor);
    }
    if (!description.empty()) {
        icalcomponent_add_property(vtodo, icalproperty_new_description(description.c_str()));
    }

    const auto start = DateTimeOrNothing(row.StartText);
    const auto deadline = DateTimeOrNothing(row.DeadlineText);
    // RFC 5545 wants the due time after the start; a deadline at or before the start (only a
    // hand-edited file has one) keeps the deadline.
    if (start && (!deadline || *start < *deadline)) {
        icalcomponent_add_property(vtodo, calendar_->LocalProperty(icalproperty_new_dtstart, *start));
    }
    if (deadline) {
        icalcomponent_add_property(vtodo, calendar_->LocalProperty(icalproperty_new_due, *deadline));
    }
    const int progress = std::clamp(ProgressValue(row.Progress), 0, 100);
    if (row.Completed) {
        if (const auto completed = DateTimeOrNothing(row.CompletedText)) {
            icalcomponent_add_property(vtodo, icalproperty_new_completed(calendar_->ToUtc(*completed)));
        }
        icalcomponent_add_property(vtodo, icalproperty_new_status(ICAL_STATUS_COMPLETED));
    } else {
        icalcomponent_add_property(
            vtodo, icalproperty_new_status(progress > 0 ? ICAL_STATUS_INPROCESS : ICAL_STATUS_NEEDSACTION));
    }
    if (const auto priority = PriorityOf(row.Importance)) {
        icalcomponent_add_property(vtodo, icalproperty_new_priority(*priority));
    }
    if (!row.Category.empty()) {
        icalcomponent_add_property(vtodo, icalproperty_new_categories(Utf8Text(row.Category).c_str()));
    }
    icalcomponent_add_property(vtodo, icalproperty_new_percentcomplete(progress));

    const IcalString text{icalcomponent_as_ical_string_r(vtodo)};
    WriteFolded(out_, text.View());
}

void IcsWriter::Finish()
{
    if (!begun_) {
        Begin();
    }
    out_ << calendar_->closing;
    out_.flush();
}

}  // namespace dolvane::cli
