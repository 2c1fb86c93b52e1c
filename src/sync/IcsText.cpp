#include "sync/IcsText.h"

#include "core/text/Cp932Codec.h"
#include "core/text/TypedText.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace dolvane {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

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

// One character (one or two UTF-16 units) in cp932, or "〓" when cp932 has none for it.
void AppendCp932(std::u16string_view character, std::string& out)
{
    try {
        out += EncodeCp932(character);
    } catch (const Cp932Error&) {
        out += "\x81\xAC";  // 〓
    }
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

std::string Cp932Text(std::string_view utf8)
{
    std::u16string text;
    try {
        text = Utf8ToUtf16(utf8);
    } catch (const Cp932Error&) {
        // Not UTF-8 after all: what is readable of it, the rest as replacement characters.
        text.clear();
        for (const char byte : utf8) {
            text += static_cast<unsigned char>(byte) < 0x80 ? static_cast<char16_t>(byte) : u'\uFFFD';
        }
    }
    text = StorableTypedText(text);
    std::string out;
    out.reserve(text.size() * 2);
    try {
        // Most texts convert whole; only one that does not is taken character by character.
        out = EncodeCp932(text);
    } catch (const Cp932Error&) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF;
            AppendCp932(std::u16string_view(text).substr(i, pair ? 2 : 1), out);
            i += pair ? 1 : 0;
        }
    }
    // Line breaks as the list holds them: CR LF, whatever the sender used.
    std::string lines;
    lines.reserve(out.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] == '\r' || out[i] == '\n') {
            if (out[i] == '\r' && i + 1 < out.size() && out[i + 1] == '\n') {
                ++i;
            }
            lines += kLineBreak;
        } else {
            lines += out[i];
        }
    }
    return lines;
}

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

std::string Folded(std::string_view text)
{
    std::ostringstream out;
    WriteFolded(out, text);
    return std::move(out).str();
}

std::optional<int> PriorityOf(std::string_view importance)
{
    if (importance.size() != 1 || importance[0] < '1' || importance[0] > '5') {
        return std::nullopt;
    }
    return 11 - 2 * (importance[0] - '0');
}

std::string ImportanceOf(int priority)
{
    if (priority < 1 || priority > 9) {
        return "0";
    }
    return {static_cast<char>('0' + (12 - priority) / 2)};
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

DateTime FromWallTime(const icaltimetype& time)
{
    DateTimeParts parts;
    parts.year = time.year;
    parts.month = time.month;
    parts.day = time.day;
    if (time.is_date == 0) {
        parts.hour = time.hour;
        parts.minute = time.minute;
    }
    return EncodeDateTime(parts);
}

IcsZone::IcsZone(const std::string& zoneName)
{
    icalerror_set_errors_are_fatal(0);
    icaltimezone* zone = zoneName.empty() ? nullptr : icaltimezone_get_builtin_timezone(zoneName.c_str());
    if (zone == icaltimezone_get_utc_timezone()) {
        times_ = Times::Utc;
    } else if (zone != nullptr) {
        times_ = Times::Zoned;
        zone_ = zone;
        tzid_ = zoneName;
    }
}

icaltimetype IcsZone::ToUtc(DateTime moment) const
{
    icaltimetype time = WallTime(moment);
    if (times_ == Times::Floating) {
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
    time.zone = times_ == Times::Zoned ? zone_ : icaltimezone_get_utc_timezone();
    return icaltime_convert_to_zone(time, icaltimezone_get_utc_timezone());
}

icalproperty* IcsZone::LocalProperty(icalproperty* (*make)(icaltimetype), DateTime moment) const
{
    icaltimetype time = WallTime(moment);
    if (times_ == Times::Utc) {
        time.zone = icaltimezone_get_utc_timezone();
    }
    icalproperty* property = make(time);
    if (times_ == Times::Zoned) {
        icalproperty_add_parameter(property, icalparameter_new_tzid(tzid_.c_str()));
    }
    return property;
}

DateTime IcsZone::ToLocal(const icaltimetype& time) const
{
    // A floating time and a DATE are local wherever they are read.
    if (time.is_date != 0 || time.zone == nullptr) {
        return FromWallTime(time);
    }
    if (times_ == Times::Floating) {
        const std::time_t seconds = icaltime_as_timet_with_zone(time, time.zone);
        std::tm local{};
        localtime_r(&seconds, &local);
        DateTimeParts parts;
        parts.year = local.tm_year + 1900;
        parts.month = local.tm_mon + 1;
        parts.day = local.tm_mday;
        parts.hour = local.tm_hour;
        parts.minute = local.tm_min;
        return EncodeDateTime(parts);
    }
    return FromWallTime(
        icaltime_convert_to_zone(time, times_ == Times::Zoned ? zone_ : icaltimezone_get_utc_timezone()));
}

Component IcsZone::TimezoneComponent() const
{
    if (times_ != Times::Zoned) {
        return nullptr;
    }
    // libical names its zones with a prefix of its own; the calendar names it as the tz
    // database does, which calendar programs recognise even without reading the VTIMEZONE.
    Component vtimezone(icalcomponent_new_clone(icaltimezone_get_component(zone_)));
    if (icalproperty* tzid = icalcomponent_get_first_property(vtimezone.get(), ICAL_TZID_PROPERTY)) {
        icalproperty_set_tzid(tzid, tzid_.c_str());
    }
    return vtimezone;
}

}  // namespace dolvane
