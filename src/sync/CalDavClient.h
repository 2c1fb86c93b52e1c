#pragma once

#include "sync/HttpSession.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

struct Multistatus;

// A resource's href is its absolute URL, the path percent-encoded in one fixed way
// (sync/Multistatus.h's EncodedPath) on the collection's scheme and authority, so that hrefs the
// server spells differently for one path compare equal as strings.
struct DavResource {
    std::string href;
    std::string etag;
    std::string ics;  // empty when not fetched
};

struct DavListing {
    std::vector<DavResource> present;       // changed or new (sync-collection) / all (query)
    std::vector<std::string> removedHrefs;  // sync-collection only
    std::string syncToken;                  // empty when the server has no sync-collection
    bool complete = false;                  // `present` is every resource of the collection
};

enum class WriteOutcome { Done, PreconditionFailed, NotFound };

struct PutResult {
    WriteOutcome outcome = WriteOutcome::Done;
    std::string etag;  // empty when the server sent none: GET (Fetch) it then
};

// The CalDAV conversation of a sync: discovery, listing, fetching, writing. Every failure
// (network, timeout, TLS, 401, 5xx, an answer over the size limit, a redirect to another host, a
// collection that takes no VTODO) throws SyncError with a Japanese message naming the URL and the
// status; a failed precondition and a missing resource are outcomes, not errors.
class CalDavClient final {
public:
    CalDavClient(std::string user, std::string password, HttpSettings settings = {});

    // From a server address or a collection URL to the collection URL of a calendar taking VTODO:
    // the URL itself when it is one, else its current-user-principal (or the well-known URL's),
    // that principal's calendar-home-set, and the first calendar there whose
    // supported-calendar-component-set has VTODO. Ends with '/'.
    std::string DiscoverCollection(const std::string& url);
    // Changes since `syncToken` (sync-collection when the collection lists it among its supported
    // reports; an empty or refused token gives the whole collection, complete = true), else a
    // calendar-query of ETags only (complete = true).
    DavListing List(const std::string& collection, const std::string& syncToken);
    // calendar-multiget of these hrefs (bodies filled in); hrefs that are gone are left out.
    std::vector<DavResource> Fetch(const std::string& collection, std::span<const std::string> hrefs);
    // PUT with If-Match: ifMatch, or with If-None-Match: * when ifMatch is empty (a creation).
    PutResult Put(const std::string& href, std::string_view ics, const std::string& ifMatch);
    WriteOutcome Delete(const std::string& href, const std::string& ifMatch);
    // The href of a new resource for `uid` in `collection` (UID made safe for a path + ".ics").
    static std::string HrefFor(const std::string& collection, const std::string& uid);

private:
    HttpAnswer Request(std::string method, const std::string& url, int depth, std::string_view xml);
    Multistatus Propfind(const std::string& url, int depth, std::string_view properties);
    std::string CalendarTakingTodo(const std::string& homeUrl);
    DavListing SyncCollection(const std::string& collection, std::string token);
    DavListing QueryEtags(const std::string& collection);

    HttpSession session_;
};

}  // namespace dolvane
