#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// The properties a response of a WebDAV multistatus gave with a 2xx propstat status; properties
// under any other status (404 for one the resource lacks) count as absent.
struct DavProperties {
    std::string etag;
    std::string calendarData;
    std::string syncToken;
    bool collection = false;
    bool calendar = false;
    // supported-calendar-component-set ("VTODO", "VEVENT"…); nothing when not given, which means
    // the calendar takes every kind.
    std::optional<std::vector<std::string>> components;
    // supported-report-set, each report as "{namespace}name".
    std::vector<std::string> reports;
    std::string principalPath;     // current-user-principal
    std::string calendarHomePath;  // calendar-home-set (the first of them)
};

struct DavResponse {
    std::string path;  // the href's path, percent-decoded: compare these, not the hrefs
    long status = 0;   // the response's own status (sync-collection's removed members: 404), else 0
    DavProperties properties;
};

struct Multistatus {
    std::vector<DavResponse> responses;
    std::string syncToken;  // sync-collection's new token
};

// Reads a 207 answer's body, namespace-aware (DAV: and urn:ietf:params:xml:ns:caldav, whatever the
// prefixes). Nothing when it is not well-formed XML or not a DAV: multistatus. The network is
// never asked for a DTD or an entity.
std::optional<Multistatus> ReadMultistatus(std::string_view xml);

// The path of an href, which servers send as a path or an absolute URL, with %XX decoded.
std::string DecodedHrefPath(std::string_view href);
// A decoded path percent-encoded again in one fixed way (only unreserved characters, sub-delims,
// ':', '@' and '/' stay as they are).
std::string EncodedPath(std::string_view decodedPath);
// The same path, whether written with a final '/' or not.
bool SamePath(std::string_view a, std::string_view b);

}  // namespace dolvane
