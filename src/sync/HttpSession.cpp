#include "sync/HttpSession.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <mutex>

namespace dolvane {
namespace {

// A well-known URL may take two hops (to the root, then to the principal); more is a loop.
constexpr int kMaxRedirects = 5;

struct UrlHandle {
    CURLU* url = curl_url();
    ~UrlHandle() { curl_url_cleanup(url); }
    std::string Part(CURLUPart part, unsigned flags = 0) const
    {
        char* text = nullptr;
        std::string value;
        if (curl_url_get(url, part, &text, flags) == CURLUE_OK) {
            value = text;
        }
        curl_free(text);
        return value;
    }
};

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

struct Receiving {
    std::string body;
    std::string etag;
    std::string location;
    std::size_t limit = 0;
    bool tooLarge = false;
};

std::size_t ReceiveBody(char* data, std::size_t size, std::size_t count, void* context)
{
    auto& receiving = *static_cast<Receiving*>(context);
    const std::size_t bytes = size * count;
    if (bytes > receiving.limit - receiving.body.size()) {
        // Returning less than was given ends the transfer with CURLE_WRITE_ERROR.
        receiving.tooLarge = true;
        return 0;
    }
    receiving.body.append(data, bytes);
    return bytes;
}

std::size_t ReceiveHeader(char* data, std::size_t size, std::size_t count, void* context)
{
    auto& receiving = *static_cast<Receiving*>(context);
    const std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) {
        // A new answer (after a 100 Continue or an authentication round) brings its own headers.
        receiving.etag.clear();
        receiving.location.clear();
    }
    const auto colon = line.find(':');
    if (colon != std::string_view::npos) {
        const std::string name = Lower(std::string(line.substr(0, colon)));
        const auto value = Trimmed(line.substr(colon + 1));
        if (name == "etag") {
            receiving.etag = value;
        } else if (name == "location") {
            receiving.location = value;
        }
    }
    return size * count;
}

std::string TransportMessage(CURLcode code, const Receiving& receiving, const std::string& url, const char* detail,
                             std::size_t limit)
{
    if (receiving.tooLarge) {
        return "サーバーの応答が大きすぎます (上限 " + std::to_string(limit) + " バイト): " + url;
    }
    const std::string why = std::string(" (") + (*detail != '\0' ? detail : curl_easy_strerror(code)) + ")";
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return "サーバーが見つかりません: " + url + why;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
        return "サーバーの証明書を確認できません: " + url + why;
    default:
        return "サーバーが応答しません: " + url + why;
    }
}

}  // namespace

struct HttpSession::Handle {
    CURL* curl = nullptr;
    ~Handle() { curl_easy_cleanup(curl); }
};

HttpSession::HttpSession(std::string user, std::string password, HttpSettings settings)
    : user_(std::move(user)),
      password_(std::move(password)),
      settings_(std::move(settings)),
      handle_(std::make_unique<Handle>())
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    handle_->curl = curl_easy_init();
    if (handle_->curl == nullptr) {
        throw SyncError("HTTP の準備ができません (libcurl)");
    }
}

HttpSession::~HttpSession() = default;

HttpAnswer HttpSession::Send(const HttpRequest& request)
{
    const std::string origin = UrlOrigin(request.url);
    std::string url = request.url;
    for (int hop = 0;; ++hop) {
        std::string location;
        HttpAnswer answer = SendOnce(request, url, location);
        const bool redirect = answer.status == 301 || answer.status == 302 || answer.status == 303 ||
                              answer.status == 307 || answer.status == 308;
        if (!redirect || location.empty()) {
            return answer;
        }
        const std::string next = ResolveUrl(url, location);
        // The password goes with every request: never to another server, nor in clear to the
        // same host when https was asked for.
        if (UrlOrigin(next) != origin) {
            std::string message = "別のサーバーへの転送には従いません: " + url;
            message += " → ";
            message += next;
            throw SyncError(message);
        }
        if (hop == kMaxRedirects) {
            throw SyncError("転送が多すぎます: " + request.url);
        }
        url = next;
    }
}

HttpAnswer HttpSession::SendOnce(const HttpRequest& request, const std::string& url, std::string& location)
{
    CURL* curl = handle_->curl;
    // Options go back to their defaults; the open connection stays for the next request.
    curl_easy_reset(curl);
    Receiving receiving;
    receiving.limit = settings_.maxBodyBytes;
    char detail[CURL_ERROR_SIZE] = "";
    curl_slist* headers = nullptr;
    // No 100 Continue round before a body: the answer to a PUT costs one round trip.
    headers = curl_slist_append(headers, "Expect:");
    for (const auto& header : request.headers) {
        headers = curl_slist_append(headers, header.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, settings_.timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!settings_.caFile.empty()) {
        curl_easy_setopt(curl, CURLOPT_CAINFO, settings_.caFile.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
    curl_easy_setopt(curl, CURLOPT_USERNAME, user_.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, password_.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, ReceiveBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &receiving);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, ReceiveHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &receiving);
    if (request.method != "GET") {
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    }
    if (!request.body.empty()) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    }
    const CURLcode code = curl_easy_perform(curl);
    curl_slist_free_all(headers);
    if (code != CURLE_OK) {
        throw SyncError(TransportMessage(code, receiving, url, detail, settings_.maxBodyBytes));
    }
    HttpAnswer answer;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.status);
    answer.url = url;
    answer.etag = std::move(receiving.etag);
    answer.body = std::move(receiving.body);
    location = std::move(receiving.location);
    return answer;
}

std::string UrlOrigin(const std::string& url)
{
    UrlHandle parsed;
    if (curl_url_set(parsed.url, CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) {
        return {};
    }
    return parsed.Part(CURLUPART_SCHEME) + "://" + Lower(parsed.Part(CURLUPART_HOST)) + ":" +
           parsed.Part(CURLUPART_PORT, CURLU_DEFAULT_PORT);
}

std::string ResolveUrl(const std::string& base, const std::string& reference)
{
    UrlHandle parsed;
    if (curl_url_set(parsed.url, CURLUPART_URL, base.c_str(), 0) != CURLUE_OK) {
        throw SyncError("URL を読めません: " + base);
    }
    if (curl_url_set(parsed.url, CURLUPART_URL, reference.c_str(), 0) != CURLUE_OK) {
        throw SyncError("URL を読めません: " + reference);
    }
    return parsed.Part(CURLUPART_URL);
}

}  // namespace dolvane
