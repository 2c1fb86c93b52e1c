#include "sync/CalDavClient.h"

#include "sync/Multistatus.h"

#include <algorithm>

namespace dolvane {
namespace {

constexpr std::string_view kXmlHead = R"(<?xml version="1.0" encoding="utf-8"?>)";
constexpr std::string_view kNamespaces = R"( xmlns:D="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav")";
constexpr std::string_view kDiscoveryProperties =
    "<D:resourcetype/><C:supported-calendar-component-set/><D:current-user-principal/><C:calendar-home-set/>";
constexpr std::string_view kSyncCollection = "{DAV:}sync-collection";
// Hrefs per calendar-multiget: a few hundred bodies make one answer of some hundred kilobytes.
constexpr std::size_t kFetchBatch = 200;

std::string XmlEscaped(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string PropfindBody(std::string_view properties)
{
    return std::string(kXmlHead) + "<D:propfind" + std::string(kNamespaces) + "><D:prop>" + std::string(properties) +
           "</D:prop></D:propfind>";
}

std::string WithSlash(std::string url)
{
    if (url.empty() || url.back() != '/') {
        url += '/';
    }
    return url;
}

// The URL of a decoded `path` on the scheme and authority of `base`, in the one spelling hrefs
// are compared in.
std::string UrlOfPath(const std::string& base, std::string_view path)
{
    return ResolveUrl(base, EncodedPath(path));
}

bool TakesTodo(const DavProperties& properties)
{
    return !properties.components || std::find(properties.components->begin(), properties.components->end(), "VTODO") !=
                                         properties.components->end();
}

[[noreturn]] void Refuse(const HttpAnswer& answer)
{
    const std::string status = "(" + std::to_string(answer.status) + "): " + answer.url;
    switch (answer.status) {
    case 401:
        throw SyncError("認証に失敗しました " + status);
    case 403:
        throw SyncError("アクセスが許可されていません " + status);
    case 404:
    case 410:
        throw SyncError("見つかりません " + status);
    default:
        if (answer.status >= 500) {
            throw SyncError("サーバーでエラーが起きました " + status);
        }
        throw SyncError("サーバーが要求を受け付けません " + status);
    }
}

Multistatus ReadAnswer(const HttpAnswer& answer)
{
    if (answer.status != 207) {
        Refuse(answer);
    }
    auto multistatus = ReadMultistatus(answer.body);
    if (!multistatus) {
        throw SyncError("サーバーの応答を読めません: " + answer.url);
    }
    return std::move(*multistatus);
}

// The response about `url` itself (Depth 0 answers may spell it differently, so by path).
const DavResponse* ResponseFor(const Multistatus& multistatus, const std::string& url)
{
    const std::string path = DecodedHrefPath(url);
    for (const auto& response : multistatus.responses) {
        if (SamePath(response.path, path)) {
            return &response;
        }
    }
    return multistatus.responses.size() == 1 ? &multistatus.responses.front() : nullptr;
}

std::string Quoted(const std::string& etag)
{
    return etag.starts_with('"') || etag.starts_with("W/") ? etag : '"' + etag + '"';
}

WriteOutcome WriteOutcomeOf(const HttpAnswer& answer)
{
    if (answer.status >= 200 && answer.status < 300) {
        return WriteOutcome::Done;
    }
    if (answer.status == 412) {
        return WriteOutcome::PreconditionFailed;
    }
    if (answer.status == 404 || answer.status == 410) {
        return WriteOutcome::NotFound;
    }
    Refuse(answer);
}

}  // namespace

CalDavClient::CalDavClient(std::string user, std::string password, HttpSettings settings)
    : session_(std::move(user), std::move(password), std::move(settings))
{
}

HttpAnswer CalDavClient::Request(std::string method, const std::string& url, int depth, std::string_view xml)
{
    HttpRequest request{std::move(method), url, {"Content-Type: application/xml; charset=utf-8"}, xml};
    if (depth >= 0) {
        request.headers.push_back("Depth: " + std::to_string(depth));
    }
    return session_.Send(request);
}

Multistatus CalDavClient::Propfind(const std::string& url, int depth, std::string_view properties)
{
    return ReadAnswer(Request("PROPFIND", url, depth, PropfindBody(properties)));
}

std::string CalDavClient::DiscoverCollection(const std::string& url)
{
    std::string principalUrl;
    std::string homeUrl;
    // The URL as given, then the well-known one. An address where the server takes no PROPFIND
    // (404, 405…) has nothing to say; a refused password or a failing server is an error.
    for (const std::string& candidate : {url, ResolveUrl(url, "/.well-known/caldav")}) {
        const HttpAnswer answer = Request("PROPFIND", candidate, 0, PropfindBody(kDiscoveryProperties));
        if (answer.status != 207 && answer.status != 401 && answer.status < 500) {
            continue;
        }
        const Multistatus multistatus = ReadAnswer(answer);
        const DavResponse* self = ResponseFor(multistatus, answer.url);
        if (self == nullptr) {
            continue;
        }
        if (self->properties.calendar) {
            if (!TakesTodo(self->properties)) {
                throw SyncError("このカレンダーは ToDo (VTODO) を扱えません: " + answer.url);
            }
            return WithSlash(UrlOfPath(answer.url, self->path));
        }
        if (!self->properties.calendarHomePath.empty()) {
            homeUrl = UrlOfPath(answer.url, self->properties.calendarHomePath);
            break;
        }
        if (!self->properties.principalPath.empty()) {
            principalUrl = UrlOfPath(answer.url, self->properties.principalPath);
            break;
        }
    }
    if (homeUrl.empty() && !principalUrl.empty()) {
        const Multistatus principal = Propfind(principalUrl, 0, "<C:calendar-home-set/>");
        const DavResponse* self = ResponseFor(principal, principalUrl);
        if (self != nullptr && !self->properties.calendarHomePath.empty()) {
            homeUrl = UrlOfPath(principalUrl, self->properties.calendarHomePath);
        }
    }
    if (homeUrl.empty()) {
        throw SyncError("CalDAV のカレンダーが見つかりません: " + url);
    }
    return CalendarTakingTodo(homeUrl);
}

std::string CalDavClient::CalendarTakingTodo(const std::string& homeUrl)
{
    const Multistatus home = Propfind(homeUrl, 1, "<D:resourcetype/><C:supported-calendar-component-set/>");
    bool calendars = false;
    for (const auto& response : home.responses) {
        if (!response.properties.calendar) {
            continue;
        }
        calendars = true;
        if (TakesTodo(response.properties)) {
            return WithSlash(UrlOfPath(homeUrl, response.path));
        }
    }
    if (calendars) {
        throw SyncError("このカレンダーは ToDo (VTODO) を扱えません: " + homeUrl);
    }
    throw SyncError("CalDAV のカレンダーが見つかりません: " + homeUrl);
}

DavListing CalDavClient::List(const std::string& collection, const std::string& syncToken)
{
    // A token only ever comes from a server that does sync-collection, so an unchanged collection
    // costs this one request.
    if (!syncToken.empty()) {
        return SyncCollection(collection, syncToken);
    }
    const Multistatus reports = Propfind(collection, 0, "<D:supported-report-set/>");
    const DavResponse* self = ResponseFor(reports, collection);
    if (self != nullptr && std::find(self->properties.reports.begin(), self->properties.reports.end(),
                                     kSyncCollection) != self->properties.reports.end()) {
        return SyncCollection(collection, {});
    }
    return QueryEtags(collection);
}

DavListing CalDavClient::SyncCollection(const std::string& collection, std::string token)
{
    DavListing listing;
    listing.complete = token.empty();
    const std::string collectionPath = DecodedHrefPath(collection);
    // A server may hand the changes out in parts: the collection itself then comes with 507 and
    // the token to go on from.
    for (bool first = true, more = true; more; first = false) {
        const std::string body = std::string(kXmlHead) + "<D:sync-collection" + std::string(kNamespaces) +
                                 "><D:sync-token>" + XmlEscaped(token) +
                                 "</D:sync-token><D:sync-level>1</D:sync-level><D:prop><D:getetag/></D:prop>"
                                 "</D:sync-collection>";
        const HttpAnswer answer = Request("REPORT", collection, 0, body);
        // A token the server no longer knows (403 or 409 with DAV:valid-sync-token): start over
        // with the whole collection.
        if (first && !listing.complete && (answer.status == 403 || answer.status == 409)) {
            return SyncCollection(collection, {});
        }
        const Multistatus multistatus = ReadAnswer(answer);
        more = false;
        for (const auto& response : multistatus.responses) {
            if (SamePath(response.path, collectionPath)) {
                more = response.status == 507;
            } else if (response.status == 404 || response.status == 410) {
                listing.removedHrefs.push_back(UrlOfPath(collection, response.path));
            } else if (!response.properties.etag.empty()) {
                listing.present.push_back({UrlOfPath(collection, response.path), response.properties.etag, {}});
            }
        }
        // A part that brings no new token would only be asked for again.
        more = more && !multistatus.syncToken.empty() && multistatus.syncToken != token;
        token = multistatus.syncToken;
        listing.syncToken = token;
    }
    return listing;
}

DavListing CalDavClient::QueryEtags(const std::string& collection)
{
    const std::string body = std::string(kXmlHead) + "<C:calendar-query" + std::string(kNamespaces) +
                             "><D:prop><D:getetag/></D:prop><C:filter><C:comp-filter name=\"VCALENDAR\">"
                             "<C:comp-filter name=\"VTODO\"/></C:comp-filter></C:filter></C:calendar-query>";
    const Multistatus multistatus = ReadAnswer(Request("REPORT", collection, 1, body));
    DavListing listing;
    listing.complete = true;
    const std::string collectionPath = DecodedHrefPath(collection);
    for (const auto& response : multistatus.responses) {
        if (!SamePath(response.path, collectionPath) && !response.properties.etag.empty()) {
            listing.present.push_back({UrlOfPath(collection, response.path), response.properties.etag, {}});
        }
    }
    return listing;
}

std::vector<DavResource> CalDavClient::Fetch(const std::string& collection, std::span<const std::string> hrefs)
{
    std::vector<DavResource> resources;
    for (std::size_t first = 0; first < hrefs.size(); first += kFetchBatch) {
        std::string body = std::string(kXmlHead) + "<C:calendar-multiget" + std::string(kNamespaces) +
                           "><D:prop><D:getetag/><C:calendar-data/></D:prop>";
        for (const auto& href : hrefs.subspan(first, std::min(kFetchBatch, hrefs.size() - first))) {
            body += "<D:href>" + XmlEscaped(EncodedPath(DecodedHrefPath(href))) + "</D:href>";
        }
        body += "</C:calendar-multiget>";
        for (const auto& response : ReadAnswer(Request("REPORT", collection, 1, body)).responses) {
            if (!response.properties.calendarData.empty()) {
                resources.push_back(
                    {UrlOfPath(collection, response.path), response.properties.etag, response.properties.calendarData});
            }
        }
    }
    return resources;
}

PutResult CalDavClient::Put(const std::string& href, std::string_view ics, const std::string& ifMatch)
{
    HttpRequest request{"PUT", href, {"Content-Type: text/calendar; charset=utf-8"}, ics};
    request.headers.push_back(ifMatch.empty() ? "If-None-Match: *" : "If-Match: " + Quoted(ifMatch));
    HttpAnswer answer = session_.Send(request);
    return {WriteOutcomeOf(answer), std::move(answer.etag)};
}

WriteOutcome CalDavClient::Delete(const std::string& href, const std::string& ifMatch)
{
    return WriteOutcomeOf(session_.Send({"DELETE", href, {"If-Match: " + Quoted(ifMatch)}, {}}));
}

std::string CalDavClient::HrefFor(const std::string& collection, const std::string& uid)
{
    std::string name;
    for (const char c : uid) {
        const bool safe = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' ||
                          c == '_' || c == '.' || c == '@';
        name += safe ? c : '_';
    }
    return UrlOfPath(collection, DecodedHrefPath(WithSlash(collection)) + name + ".ics");
}

}  // namespace dolvane
