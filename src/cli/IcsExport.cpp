#include "cli/IcsExport.h"

#include "core/store/RecordLine.h"
#include "core/time/TimeTexts.h"
#include "sync/IcsText.h"

#include <algorithm>
#include <optional>

namespace dolvane::cli {
namespace {

constexpr std::string_view kUidDomain = "@dolvane";
constexpr std::string_view kLineBreak = "\r\n";

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

std::string_view TrimLineBreaks(std::string_view text)
{
    const auto first = text.find_first_not_of("\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of("\r\n") - first + 1);
}

}  // namespace

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
    explicit Calendar(const std::string& zoneName) : zone(zoneName) {}

    IcsZone zone;
    icaltimetype stamp{};
    Component vtimezone;
    std::string closing;  // the calendar's last line, as libical writes it
};

IcsWriter::IcsWriter(std::ostream& out, const std::string& zoneName, DateTime now)
    : out_(out),
      calendar_(std::make_unique<Calendar>(zoneName))
{
    calendar_->vtimezone = calendar_->zone.TimezoneComponent();
    calendar_->stamp = calendar_->zone.ToUtc(now);
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
        icalcomponent_add_property(vtodo, calendar_->zone.LocalProperty(icalproperty_new_dtstart, *start));
    }
    if (deadline) {
        icalcomponent_add_property(vtodo, calendar_->zone.LocalProperty(icalproperty_new_due, *deadline));
    }
    const int progress = std::clamp(ProgressValue(row.Progress), 0, 100);
    if (row.Completed) {
        if (const auto completed = DateTimeOrNothing(row.CompletedText)) {
            icalcomponent_add_property(vtodo, icalproperty_new_completed(calendar_->zone.ToUtc(*completed)));
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
