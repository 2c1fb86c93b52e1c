#pragma once

// The properties a to-do keeps on the server beside the standard ones (the X-DOLVANE texts, the
// warning's alarm) and the text rules of the round trip, shared by the reading and the writing of
// VTODOs.

#include "core/store/ToDoRecord.h"
#include "sync/PercentCoding.h"

#include <libical/ical.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace dolvane::vtodo {

inline constexpr const char* kStart = "X-DOLVANE-START";
inline constexpr const char* kDeadline = "X-DOLVANE-DEADLINE";
inline constexpr const char* kCompleted = "X-DOLVANE-COMPLETED";
inline constexpr const char* kImportance = "X-DOLVANE-IMPORTANCE";
inline constexpr const char* kProgress = "X-DOLVANE-PROGRESS";
inline constexpr const char* kExecutor = "X-DOLVANE-EXECUTOR";
inline constexpr const char* kWarningHours = "X-DOLVANE-WARNING-HOURS";
inline constexpr const char* kLine = "X-DOLVANE-LINE";
// libical drops a property without a value: an empty text is written as this parameter.
inline constexpr const char* kEmpty = "X-DOLVANE-EMPTY";
inline constexpr std::string_view kLineBreak = "\r\n";
inline constexpr int kSecondsPerHour = 3600;

icalproperty* FindX(icalcomponent* component, std::string_view name);
void RemoveProperty(icalcomponent* component, icalproperty* property);
void RemoveX(icalcomponent* component, const char* name);
void RemoveAll(icalcomponent* component, std::initializer_list<icalproperty_kind> kinds);
// An X-DOLVANE text in cp932, or nothing when the component has none.
std::optional<std::string> XText(icalcomponent* component, const char* name);
void SetX(icalcomponent* component, const char* name, std::string_view cp932);
// The executor and the category live on one line of the list.
std::string OneLine(std::string text);

// The warning period as a VALARM: a trigger that many hours before DUE. Of several such alarms
// the one of `expectedHours` is Dolvane's; failing that, the first stands for the warning.
struct WarningAlarm {
    icalcomponent* alarm = nullptr;
    int hours = 0;
};
WarningAlarm FindWarningAlarm(icalcomponent* vtodo, int expectedHours);
int PositiveHours(std::string_view text);

// X-DOLVANE texts keep their blanks, which parsers trim: "%" and the blanks at either end go as
// %XX. X-DOLVANE-LINE carries the line's cp932 bytes exactly: every byte but printable ASCII as
// %XX (`asciiOnly`).
std::string PercentEncoded(std::string_view bytes, bool asciiOnly);

// What the server's properties make of a row's texts: the UTF-8 round trip of each.
ToDoRecord ThroughUtf8(ToDoRecord row);
// Whether the line's fields give it back, and its bytes come back from UTF-8: else it travels
// whole beside them.
bool NeedsExactLine(const ToDoRecord& row, const std::string& line);
bool HasDue(icalcomponent* vtodo);

}  // namespace dolvane::vtodo
