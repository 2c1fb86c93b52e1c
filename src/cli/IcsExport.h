#pragma once

#include "core/store/ToDoRecord.h"
#include "core/time/DateTime.h"

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>

namespace dolvane::cli {

// The UID of a row, before the occurrence suffix: a 64-bit FNV-1a hash of the start text and the
// task's summary line (both cp932 as the file holds them) in 16 hex digits, then "@dolvane".
// Changing the start or the first line of the task changes it; the deadline, importance,
// executor, category, progress, completion and the task's other lines do not.
std::string TodoUid(const ToDoRecord& row);

// Writes rows as the VTODO components of one iCalendar object (UTF-8, CR LF), each built and
// written by libical as it comes, so a long list is never held whole. The calendar's opening,
// with the VTIMEZONE of the zone, goes out with the first row or at Finish.
//
// The times of the row (start, deadline) are local times of `zoneName` with its TZID and
// VTIMEZONE; "UTC" gives UTC times, and a name libical has no zone for gives floating local
// times. DTSTAMP is `now`, COMPLETED the completion time, both in UTC as RFC 5545 asks.
class IcsWriter final {
public:
    IcsWriter(std::ostream& out, const std::string& zoneName, DateTime now);
    ~IcsWriter();
    IcsWriter(const IcsWriter&) = delete;
    IcsWriter& operator=(const IcsWriter&) = delete;

    void Row(const ToDoRecord& row);
    void Finish();

private:
    struct Calendar;

    void Begin();

    std::ostream& out_;
    std::unique_ptr<Calendar> calendar_;
    // Rows with the same start and summary line share a hash; the second of them gets "-2".
    std::unordered_map<std::string, int> uidCounts_;
    bool begun_ = false;
};

}  // namespace dolvane::cli
