#pragma once

#include "core/time/DateTime.h"

#include <libical/ical.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace dolvane {

// The iCalendar side of a to-do's texts and times, shared by dolvane-cli's export and the sync.

// The machine's time zone as the tz database names it ("Asia/Tokyo"): TZ when it names a zone
// (":Asia/Tokyo" and a path into a zoneinfo folder included), else the zone the link
// /etc/localtime points into, else the first line of /etc/timezone. Empty when none says.
std::string LocalTimeZoneName();

// cp932 to UTF-8 with the line breaks as LF, which libical writes as "\n". A byte that is not
// cp932 (a hand-edited file) becomes U+FFFD rather than stopping the export. Other control
// characters have no place in an iCalendar text (only the tab does) and are left out.
std::string Utf8Text(std::string_view cp932);

// An iCalendar text (UTF-8) as cp932: line breaks (LF, CR LF or CR) as CR LF, the JIS readings of
// the typed-text table in cp932's, control characters other than tab left out, and every
// character cp932 cannot hold (or a byte that is not UTF-8) as "〓".
std::string Cp932Text(std::string_view utf8);

// Writes libical's text folded anew: libical folds at some lengths between a line's CR and its
// LF, which no reader takes as a line end. Its folds are undone and every line longer than 75
// octets is folded again, never inside a UTF-8 sequence.
void WriteFolded(std::ostream& out, std::string_view text);
std::string Folded(std::string_view text);

// Importance 5 (most important) to 1 as RFC 5545's PRIORITY 1 (highest) to 9 (lowest); 0 and
// anything else has none. Back, each PRIORITY between two of those takes the higher importance:
// 1-2 is 5, 3-4 is 4, 5-6 is 3, 7-8 is 2, 9 is 1, and 0 (undefined) is "0".
std::optional<int> PriorityOf(std::string_view importance);
std::string ImportanceOf(int priority);

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

// A moment's wall-clock fields as a floating date-time, and back (seconds dropped, a DATE at
// 00:00 of its day).
icaltimetype WallTime(DateTime moment);
DateTime FromWallTime(const icaltimetype& time);

// The zone a to-do's local times are written in. A tz name gives local times with its TZID and
// VTIMEZONE; "UTC" gives UTC times, and a name libical has no zone for gives floating local
// times (the C library's local time converts them).
class IcsZone final {
public:
    explicit IcsZone(const std::string& zoneName);

    // A local moment in UTC: through libical's zone, or the C library's when libical has none.
    icaltimetype ToUtc(DateTime moment) const;
    // DTSTART or DUE: the local time with its TZID, in UTC for a UTC machine, else floating.
    icalproperty* LocalProperty(icalproperty* (*make)(icaltimetype), DateTime moment) const;
    // A time read from a component (UTC, with a zone, floating or a DATE) as a local moment.
    DateTime ToLocal(const icaltimetype& time) const;
    // A copy of the zone's VTIMEZONE named as the tz database names it; null for UTC and floating.
    Component TimezoneComponent() const;
    // The TZID local times carry; empty for UTC and floating times.
    const std::string& Tzid() const { return tzid_; }

private:
    enum class Times { Zoned, Utc, Floating };
    Times times_ = Times::Floating;
    icaltimezone* zone_ = nullptr;
    std::string tzid_;
};

}  // namespace dolvane
