#include "sync/VtodoProperties.h"

#include "core/store/RecordLine.h"
#include "core/text/Cp932Codec.h"
#include "core/time/TimeTexts.h"
#include "sync/IcsText.h"

#include <algorithm>
#include <array>

namespace dolvane::vtodo {

icalproperty* FindX(icalcomponent* component, std::string_view name)
{
    for (icalproperty* property = icalcomponent_get_first_property(component, ICAL_X_PROPERTY); property != nullptr;
         property = icalcomponent_get_next_property(component, ICAL_X_PROPERTY)) {
        if (const char* own = icalproperty_get_x_name(property); own != nullptr && name == own) {
            return property;
        }
    }
    return nullptr;
}

void RemoveProperty(icalcomponent* component, icalproperty* property)
{
    icalcomponent_remove_property(component, property);
    icalproperty_free(property);
}

void RemoveX(icalcomponent* component, const char* name)
{
    while (icalproperty* property = FindX(component, name)) {
        RemoveProperty(component, property);
    }
}

void RemoveAll(icalcomponent* component, std::initializer_list<icalproperty_kind> kinds)
{
    for (const icalproperty_kind kind : kinds) {
        while (icalproperty* property = icalcomponent_get_first_property(component, kind)) {
            RemoveProperty(component, property);
        }
    }
}

// An X-DOLVANE text in cp932, or nothing when the component has none.
std::optional<std::string> XText(icalcomponent* component, const char* name)
{
    icalproperty* property = FindX(component, name);
    if (property == nullptr) {
        return std::nullopt;
    }
    for (icalparameter* parameter = icalproperty_get_first_parameter(property, ICAL_X_PARAMETER); parameter != nullptr;
         parameter = icalproperty_get_next_parameter(property, ICAL_X_PARAMETER)) {
        if (const char* own = icalparameter_get_xname(parameter); own != nullptr && std::string_view(own) == kEmpty) {
            return std::string();
        }
    }
    const char* value = icalproperty_get_x(property);
    return Cp932Text(PercentDecoded(value == nullptr ? "" : value));
}

void SetX(icalcomponent* component, const char* name, std::string_view cp932)
{
    RemoveX(component, name);
    const std::string text = PercentEncoded(Utf8Text(cp932), false);
    icalproperty* property = icalproperty_new_x(text.empty() ? "TRUE" : text.c_str());
    icalproperty_set_x_name(property, name);
    if (text.empty()) {
        icalparameter* empty = icalparameter_new_x("TRUE");
        icalparameter_set_xname(empty, kEmpty);
        icalproperty_add_parameter(property, empty);
    }
    icalcomponent_add_property(component, property);
}

// The executor and the category live on one line of the list.
std::string OneLine(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

WarningAlarm FindWarningAlarm(icalcomponent* vtodo, int expectedHours)
{
    WarningAlarm first;
    for (icalcomponent* alarm = icalcomponent_get_first_component(vtodo, ICAL_VALARM_COMPONENT); alarm != nullptr;
         alarm = icalcomponent_get_next_component(vtodo, ICAL_VALARM_COMPONENT)) {
        icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
        if (trigger == nullptr) {
            continue;
        }
        const icaltriggertype when = icalproperty_get_trigger(trigger);
        icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
        if (!icaltime_is_null_time(when.time) || related == nullptr ||
            icalparameter_get_related(related) != ICAL_RELATED_END) {
            continue;
        }
        const int seconds = icaldurationtype_as_int(when.duration);
        const WarningAlarm found{alarm, seconds < 0 ? -seconds / kSecondsPerHour : 0};
        if (found.hours == expectedHours) {
            return found;
        }
        if (first.alarm == nullptr) {
            first = found;
        }
    }
    return first;
}

int PositiveHours(std::string_view text)
{
    return std::max(0, WarningHoursOf(text));
}

// X-DOLVANE texts keep their blanks, which parsers trim: "%" and the blanks at either end go as
// %XX. X-DOLVANE-LINE carries the line's cp932 bytes exactly: every byte but printable ASCII as
// %XX.
std::string PercentEncoded(std::string_view bytes, bool asciiOnly)
{
    const auto plain = [](unsigned char byte) { return byte > 0x20 && byte != 0x7F; };
    std::size_t first = 0;
    std::size_t end = bytes.size();
    if (!asciiOnly) {
        while (first < end && !plain(static_cast<unsigned char>(bytes[first]))) {
            ++first;
        }
        while (end > first && !plain(static_cast<unsigned char>(bytes[end - 1]))) {
            --end;
        }
    }
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const bool inner = i >= first && i < end;
        if (byte != '%' && (asciiOnly ? plain(byte) && byte < 0x80 : inner)) {
            text += bytes[i];
        } else {
            text += '%';
            text += "0123456789ABCDEF"[byte >> 4];
            text += "0123456789ABCDEF"[byte & 0xF];
        }
    }
    return text;
}

// What the server's properties make of a row's texts: the UTF-8 round trip of each.
ToDoRecord ThroughUtf8(ToDoRecord row)
{
    for (const Field field : {Field::Start, Field::Deadline, Field::Importance, Field::Executor, Field::Task,
                              Field::Category, Field::Progress, Field::WarningHours, Field::Completed}) {
        row.Text(field) = Cp932Text(Utf8Text(row.Text(field)));
    }
    return row;
}

// Whether the line's fields give it back, and its bytes come back from UTF-8: else it travels
// whole beside them.
bool NeedsExactLine(const ToDoRecord& row, const std::string& line)
{
    return line != FormatRecordLine(row) || Cp932Text(Utf8Text(line)) != line;
}

bool HasDue(icalcomponent* vtodo)
{
    return icalcomponent_get_first_property(vtodo, ICAL_DUE_PROPERTY) != nullptr ||
           icalcomponent_get_first_property(vtodo, ICAL_DURATION_PROPERTY) != nullptr;
}

}  // namespace dolvane::vtodo
