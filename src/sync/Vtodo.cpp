#include "sync/Vtodo.h"

#include "core/store/RecordLine.h"
#include "core/sync/MergeRecords.h"
#include "core/text/Cp932Codec.h"
#include "core/text/ReplaceText.h"
#include "core/time/TimeTexts.h"
#include "sync/IcsText.h"
#include "sync/VtodoProperties.h"

#include <algorithm>
#include <array>

namespace dolvane {
namespace {

using namespace vtodo;

std::string ReadTask(icalcomponent* vtodo)
{
    std::string task;
    if (icalproperty* summary = icalcomponent_get_first_property(vtodo, ICAL_SUMMARY_PROPERTY)) {
        task = Cp932Text(icalproperty_get_summary(summary));
    }
    if (icalproperty* description = icalcomponent_get_first_property(vtodo, ICAL_DESCRIPTION_PROPERTY)) {
        task += kLineBreak;
        task += Cp932Text(icalproperty_get_description(description));
    }
    task = TrimControlAndBlanks(task);
    return IsBlankTask(task) ? Utf8ToCp932("（件名なし）") : task;
}

ToDoRecord ReadRow(icalcomponent* vtodo, const IcsZone& zone, DateTime syncTime)
{
    ToDoRecord row;
    const auto local = [&zone](const icaltimetype& time) { return FormatDateTimeText(zone.ToLocal(time)); };

    if (icalcomponent_get_first_property(vtodo, ICAL_DTSTART_PROPERTY) != nullptr) {
        row.StartText = local(icalcomponent_get_dtstart(vtodo));
    } else if (auto start = XText(vtodo, kStart)) {
        row.StartText = std::move(*start);
    } else if (icalproperty* created = icalcomponent_get_first_property(vtodo, ICAL_CREATED_PROPERTY)) {
        row.StartText = local(icalproperty_get_created(created));
    } else {
        row.StartText = FormatDateTimeText(syncTime);
    }
    const icaltimetype due = icalcomponent_get_due(vtodo);
    const bool hasDue = HasDue(vtodo) && !icaltime_is_null_time(due);
    row.DeadlineText = hasDue ? local(due) : XText(vtodo, kDeadline).value_or("");

    // Some programs mark a to-do done with COMPLETED alone.
    icalproperty* status = icalcomponent_get_first_property(vtodo, ICAL_STATUS_PROPERTY);
    icalproperty* completed = icalcomponent_get_first_property(vtodo, ICAL_COMPLETED_PROPERTY);
    row.Completed = status != nullptr ? icalproperty_get_status(status) == ICAL_STATUS_COMPLETED : completed != nullptr;
    row.CompletedText =
        completed != nullptr ? local(icalproperty_get_completed(completed)) : XText(vtodo, kCompleted).value_or("");

    icalproperty* priority = icalcomponent_get_first_property(vtodo, ICAL_PRIORITY_PROPERTY);
    const int priorityValue = priority == nullptr ? 0 : icalproperty_get_priority(priority);
    row.Importance = priorityValue >= 1 && priorityValue <= 9 ? ImportanceOf(priorityValue)
                                                              : XText(vtodo, kImportance).value_or("0");
    // Three digits in the line.
    constexpr int kLargestProgress = 999;
    if (icalproperty* percent = icalcomponent_get_first_property(vtodo, ICAL_PERCENTCOMPLETE_PROPERTY)) {
        row.Progress = std::to_string(std::clamp(icalproperty_get_percentcomplete(percent), 0, 100));
    } else {
        row.Progress =
            std::to_string(std::clamp(ProgressValue(XText(vtodo, kProgress).value_or("")), 0, kLargestProgress));
    }

    for (icalproperty* category = icalcomponent_get_first_property(vtodo, ICAL_CATEGORIES_PROPERTY);
         category != nullptr; category = icalcomponent_get_next_property(vtodo, ICAL_CATEGORIES_PROPERTY)) {
        row.Category += (row.Category.empty() ? "" : ",") + Cp932Text(icalproperty_get_categories(category));
    }
    row.Category = OneLine(std::move(row.Category));
    row.Executor = OneLine(XText(vtodo, kExecutor).value_or(""));
    row.TaskText = ReadTask(vtodo);

    // The alarm is what a phone changes; the X text keeps the exact hours while they agree.
    std::string hours = XText(vtodo, kWarningHours).value_or("");
    if (hasDue) {
        const WarningAlarm alarm = FindWarningAlarm(vtodo, PositiveHours(hours));
        if (alarm.hours != PositiveHours(hours)) {
            hours = alarm.hours > 0 ? std::to_string(alarm.hours) : std::string();
        }
    }
    row.WarningHours = std::move(hours);

    if (icalproperty* line = FindX(vtodo, kLine)) {
        const char* value = icalproperty_get_x(line);
        ToDoRecord exact = ParseRecordLine(PercentDecoded(value == nullptr ? "" : value));
        if (SameSyncedFields(ThroughUtf8(exact), row)) {
            return exact;
        }
    }
    return row;
}

struct Parsed {
    Component root;
    icalcomponent* vtodo = nullptr;
};

Parsed Parse(std::string_view ics)
{
    icalerror_set_errors_are_fatal(0);
    const std::string text(ics);
    Parsed parsed{Component(icalparser_parse_string(text.c_str()))};
    icalcomponent* root = parsed.root.get();
    if (root == nullptr) {
        return parsed;
    }
    if (icalcomponent_isa(root) == ICAL_VTODO_COMPONENT) {
        // A bare component: put it into a calendar of its own.
        Component calendar(icalcomponent_new_vcalendar());
        icalcomponent_add_component(calendar.get(), parsed.root.release());
        parsed.root = std::move(calendar);
        root = parsed.root.get();
    }
    parsed.vtodo = icalcomponent_get_first_component(root, ICAL_VTODO_COMPONENT);
    return parsed;
}

void WriteTask(icalcomponent* vtodo, const ToDoRecord& row)
{
    RemoveAll(vtodo, {ICAL_SUMMARY_PROPERTY, ICAL_DESCRIPTION_PROPERTY});
    const std::string_view task = row.TaskText;
    const auto firstBreak = task.find(kLineBreak);
    icalcomponent_add_property(vtodo, icalproperty_new_summary(Utf8Text(task.substr(0, firstBreak)).c_str()));
    if (firstBreak != std::string_view::npos) {
        const std::string rest = Utf8Text(task.substr(firstBreak + kLineBreak.size()));
        icalcomponent_add_property(vtodo, icalproperty_new_description(rest.c_str()));
    }
}

void WriteDates(icalcomponent* vtodo, const ToDoRecord& row, const IcsZone& zone)
{
    RemoveAll(vtodo, {ICAL_DTSTART_PROPERTY, ICAL_DUE_PROPERTY, ICAL_DURATION_PROPERTY});
    RemoveX(vtodo, kStart);
    RemoveX(vtodo, kDeadline);
    const auto start = DateTimeOrNothing(row.StartText);
    const auto deadline = DateTimeOrNothing(row.DeadlineText);
    // RFC 5545 wants DUE after DTSTART: a start at or after the deadline goes as text.
    if (start && (!deadline || *start < *deadline)) {
        icalcomponent_add_property(vtodo, zone.LocalProperty(icalproperty_new_dtstart, *start));
    } else {
        SetX(vtodo, kStart, row.StartText);
    }
    if (deadline) {
        icalcomponent_add_property(vtodo, zone.LocalProperty(icalproperty_new_due, *deadline));
    } else if (!row.DeadlineText.empty()) {
        SetX(vtodo, kDeadline, row.DeadlineText);
    }
}

void WriteState(icalcomponent* vtodo, const ToDoRecord& row, const IcsZone& zone)
{
    RemoveAll(vtodo, {ICAL_STATUS_PROPERTY, ICAL_COMPLETED_PROPERTY, ICAL_PERCENTCOMPLETE_PROPERTY});
    RemoveX(vtodo, kCompleted);
    RemoveX(vtodo, kProgress);
    const int progress = ProgressValue(row.Progress);
    icalcomponent_add_property(vtodo, icalproperty_new_status(row.Completed  ? ICAL_STATUS_COMPLETED
                                                              : progress > 0 ? ICAL_STATUS_INPROCESS
                                                                             : ICAL_STATUS_NEEDSACTION));
    const auto completed = DateTimeOrNothing(row.CompletedText);
    if (row.Completed && completed) {
        icalcomponent_add_property(vtodo, icalproperty_new_completed(zone.ToUtc(*completed)));
    } else if (!row.CompletedText.empty()) {
        SetX(vtodo, kCompleted, row.CompletedText);
    }
    if (progress >= 0 && progress <= 100) {
        icalcomponent_add_property(vtodo, icalproperty_new_percentcomplete(progress));
    } else {
        SetX(vtodo, kProgress, row.Progress);
    }
}

void WriteImportance(icalcomponent* vtodo, const ToDoRecord& row)
{
    RemoveAll(vtodo, {ICAL_PRIORITY_PROPERTY});
    RemoveX(vtodo, kImportance);
    if (const auto priority = PriorityOf(row.Importance)) {
        icalcomponent_add_property(vtodo, icalproperty_new_priority(*priority));
    } else if (row.Importance != "0") {
        SetX(vtodo, kImportance, row.Importance);
    }
}

void WriteCategory(icalcomponent* vtodo, const ToDoRecord& row)
{
    RemoveAll(vtodo, {ICAL_CATEGORIES_PROPERTY});
    if (!row.Category.empty()) {
        icalcomponent_add_property(vtodo, icalproperty_new_categories(Utf8Text(row.Category).c_str()));
    }
}

void WriteExecutor(icalcomponent* vtodo, const ToDoRecord& row)
{
    RemoveX(vtodo, kExecutor);
    if (!row.Executor.empty()) {
        SetX(vtodo, kExecutor, row.Executor);
    }
}

void WriteWarning(icalcomponent* vtodo, const ToDoRecord& row)
{
    const int oldHours = PositiveHours(XText(vtodo, kWarningHours).value_or(""));
    if (icalcomponent* alarm = FindWarningAlarm(vtodo, oldHours).alarm) {
        icalcomponent_remove_component(vtodo, alarm);
        icalcomponent_free(alarm);
    }
    RemoveX(vtodo, kWarningHours);
    if (!row.WarningHours.empty()) {
        SetX(vtodo, kWarningHours, row.WarningHours);
    }
    const int hours = PositiveHours(row.WarningHours);
    if (!DateTimeOrNothing(row.DeadlineText) || hours == 0) {
        return;
    }
    icalcomponent* alarm = icalcomponent_new_valarm();
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    const std::string_view task = row.TaskText;
    icalcomponent_add_property(alarm,
                               icalproperty_new_description(Utf8Text(task.substr(0, task.find(kLineBreak))).c_str()));
    icaltriggertype when{};
    when.time = icaltime_null_time();
    when.duration = icaldurationtype_null_duration();
    when.duration.is_neg = 1;
    when.duration.hours = static_cast<unsigned int>(hours);
    icalproperty* trigger = icalproperty_new_trigger(when);
    icalproperty_add_parameter(trigger, icalparameter_new_related(ICAL_RELATED_END));
    icalcomponent_add_property(alarm, trigger);
    icalcomponent_add_component(vtodo, alarm);
}

// The calendar names the zone its local times carry.
void AddTimezone(icalcomponent* calendar, const IcsZone& zone)
{
    if (zone.Tzid().empty()) {
        return;
    }
    for (icalcomponent* known = icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT); known != nullptr;
         known = icalcomponent_get_next_component(calendar, ICAL_VTIMEZONE_COMPONENT)) {
        icalproperty* tzid = icalcomponent_get_first_property(known, ICAL_TZID_PROPERTY);
        if (tzid != nullptr && zone.Tzid() == icalproperty_get_tzid(tzid)) {
            return;
        }
    }
    icalcomponent_add_component(calendar, zone.TimezoneComponent().release());
}

bool SameCompletion(const ToDoRecord& a, const ToDoRecord& b)
{
    return a.Completed == b.Completed && a.CompletedText == b.CompletedText && a.Progress == b.Progress;
}

}  // namespace

std::optional<RemoteToDo> ReadVtodo(std::string_view ics, DateTime syncTime)
{
    return ReadVtodo(ics, syncTime, LocalTimeZoneName());
}

std::optional<RemoteToDo> ReadVtodo(std::string_view ics, DateTime syncTime, const std::string& zone)
{
    const Parsed parsed = Parse(ics);
    if (parsed.vtodo == nullptr) {
        return std::nullopt;
    }
    RemoteToDo todo;
    const char* uid = icalcomponent_get_uid(parsed.vtodo);
    todo.uid = uid == nullptr ? "" : uid;
    todo.row = ReadRow(parsed.vtodo, IcsZone(zone), syncTime);
    todo.recurring = icalcomponent_get_first_property(parsed.vtodo, ICAL_RRULE_PROPERTY) != nullptr ||
                     icalcomponent_get_first_property(parsed.vtodo, ICAL_RDATE_PROPERTY) != nullptr;
    return todo;
}

std::string WriteVtodo(const ToDoRecord& row, const std::string& uid, std::string_view fetched,
                       const std::string& zoneName, DateTime now)
{
    const IcsZone zone(zoneName);
    Parsed parsed = fetched.empty() ? Parsed{} : Parse(fetched);
    std::optional<ToDoRecord> old;
    if (parsed.vtodo != nullptr) {
        old = ReadRow(parsed.vtodo, zone, now);
    } else {
        parsed.root.reset(icalcomponent_new_vcalendar());
        icalcomponent_add_property(parsed.root.get(), icalproperty_new_version("2.0"));
        icalcomponent_add_property(parsed.root.get(), icalproperty_new_prodid("-//Dolvane//dolvane//JA"));
        parsed.vtodo = icalcomponent_new_vtodo();
        icalcomponent_add_component(parsed.root.get(), parsed.vtodo);
        icalcomponent_add_property(parsed.vtodo, icalproperty_new_created(zone.ToUtc(now)));
    }
    icalcomponent* vtodo = parsed.vtodo;
    RemoveAll(vtodo, {ICAL_UID_PROPERTY, ICAL_DTSTAMP_PROPERTY, ICAL_LASTMODIFIED_PROPERTY});
    icalcomponent_add_property(vtodo, icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(vtodo, icalproperty_new_dtstamp(zone.ToUtc(now)));
    icalcomponent_add_property(vtodo, icalproperty_new_lastmodified(zone.ToUtc(now)));

    // A field that reads the same from the server's object keeps its properties as they are.
    const auto changed = [&old, &row](auto same) { return !old || !same(*old, row); };
    using R = const ToDoRecord&;
    if (changed([](R a, R b) { return a.TaskText == b.TaskText; })) {
        WriteTask(vtodo, row);
    }
    if (changed([](R a, R b) { return a.StartText == b.StartText && a.DeadlineText == b.DeadlineText; })) {
        WriteDates(vtodo, row, zone);
        AddTimezone(parsed.root.get(), zone);
    }
    if (changed(SameCompletion)) {
        WriteState(vtodo, row, zone);
    }
    if (changed([](R a, R b) { return a.Importance == b.Importance; })) {
        WriteImportance(vtodo, row);
    }
    if (changed([](R a, R b) { return a.Category == b.Category; })) {
        WriteCategory(vtodo, row);
    }
    if (changed([](R a, R b) { return a.Executor == b.Executor; })) {
        WriteExecutor(vtodo, row);
    }
    if (changed([](R a, R b) { return a.WarningHours == b.WarningHours && a.DeadlineText == b.DeadlineText; })) {
        WriteWarning(vtodo, row);
    }
    RemoveX(vtodo, kLine);
    if (const std::string line = LineToWrite(row); NeedsExactLine(row, line)) {
        icalproperty* property = icalproperty_new_x(PercentEncoded(line, true).c_str());
        icalproperty_set_x_name(property, kLine);
        icalcomponent_add_property(vtodo, property);
    }
    const IcalString text{icalcomponent_as_ical_string_r(parsed.root.get())};
    return Folded(text.View());
}

}  // namespace dolvane
