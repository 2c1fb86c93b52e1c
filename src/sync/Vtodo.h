#pragma once

#include "core/store/ToDoRecord.h"
#include "core/time/DateTime.h"

#include <optional>
#include <string>
#include <string_view>

namespace dolvane {

// A to-do as a VTODO of a CalDAV server, both ways.
//
// Each field goes into the property other programs read: SUMMARY (the task's first line) and
// DESCRIPTION (its other lines), DTSTART, DUE, STATUS and COMPLETED, PRIORITY, PERCENT-COMPLETE,
// CATEGORIES; the executor and the warning hours into X-DOLVANE-EXECUTOR and
// X-DOLVANE-WARNING-HOURS, and the warning period also into a VALARM 'that many hours before DUE'
// (a phone reminds then). Where a standard property cannot hold a field exactly (a date text that
// is no date, a start not before the deadline, a completion time of a to-do not completed, an
// importance or progress outside the standard's range) an X-DOLVANE-START, -DEADLINE,
// -COMPLETED, -IMPORTANCE or -PROGRESS holds the text instead, read only while the standard
// property is absent. A line the list holds in bytes its fields would not give back goes along
// as X-DOLVANE-LINE, taken back only while the fields still give that line.

struct RemoteToDo {
    std::string uid;
    ToDoRecord row;          // cp932; characters cp932 cannot hold are "〓"
    bool recurring = false;  // RRULE/RDATE: left alone, reported once, never deleted
};

// The first VTODO of a calendar object as a to-do; nothing when it holds no VTODO. A VTODO
// without DTSTART takes CREATED, else `syncTime`, as its start; one without a summary or
// description takes "（件名なし）" as its task, so that it stays a to-do. Times come as local
// times of `zone`; the first form uses LocalTimeZoneName().
std::optional<RemoteToDo> ReadVtodo(std::string_view ics, DateTime syncTime);
std::optional<RemoteToDo> ReadVtodo(std::string_view ics, DateTime syncTime, const std::string& zone);

// The calendar object to PUT for `row` (UTF-8, CR LF): `fetched` is the server's object as last
// fetched (empty for a new one); when given, its component is changed in place so properties
// Dolvane does not know (and VALARMs of others) stay, and a field that reads the same from it as
// the row holds keeps its properties as the server has them (so a text with characters cp932
// cannot hold is not overwritten unless the to-do was edited here). X-DOLVANE-EXECUTOR,
// X-DOLVANE-WARNING-HOURS, a VALARM relative to DUE only with a deadline, DTSTART only when
// before DUE, never ATTENDEE. Times are local times of `zone` (IcsText's LocalTimeZoneName()).
std::string WriteVtodo(const ToDoRecord& row, const std::string& uid, std::string_view fetched, const std::string& zone,
                       DateTime now);

}  // namespace dolvane
