#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// Every failure of the sync's talk with the server; the message is UTF-8 Japanese, names the URL
// and is shown to the user as it is.
struct SyncError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct HttpSettings {
    std::string caFile;  // extra CA bundle; TLS is always verified
    long timeoutSeconds = 30;
    std::size_t maxBodyBytes = 64u << 20;
};

struct HttpRequest {
    std::string method;
    std::string url;
    std::vector<std::string> headers;  // "Name: value"
    std::string_view body;
};

struct HttpAnswer {
    long status = 0;
    std::string url;   // the one that answered, after redirects
    std::string etag;  // the ETag header, empty when none came
    std::string body;
};

// One connection's worth of HTTP with libcurl, kept open between requests: Basic authentication
// sent with every request (one round trip each), TLS verified against the system's authorities
// and the optional CA file, the whole exchange within the timeout, answers refused as soon as they
// grow past the limit, and redirects followed only within the same scheme, host and port (a
// handful at most). Transport failures throw SyncError; every HTTP status comes back as it is.
class HttpSession final {
public:
    HttpSession(std::string user, std::string password, HttpSettings settings);
    ~HttpSession();
    HttpSession(const HttpSession&) = delete;
    HttpSession& operator=(const HttpSession&) = delete;

    HttpAnswer Send(const HttpRequest& request);

private:
    struct Handle;
    HttpAnswer SendOnce(const HttpRequest& request, const std::string& url, std::string& location);

    std::string user_;
    std::string password_;
    HttpSettings settings_;
    std::unique_ptr<Handle> handle_;
};

// Scheme, host and port of `url` ("https://example.org:443"), the default port spelled out.
std::string UrlOrigin(const std::string& url);
// `reference` (absolute, or a path, or relative) resolved against `base`.
std::string ResolveUrl(const std::string& base, const std::string& reference);

}  // namespace dolvane
