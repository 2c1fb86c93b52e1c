// The CalDAV client against a real Radicale server started for each test, and against a tiny local listener for what no
// well-behaved server does.
#include "sync/CalDavClient.h"
#include "support/ListFiles.h"
#include "support/RadicaleServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace dolvane {
namespace {

using test::RadicaleServer;

std::string Ics(const std::string& uid, const std::string& summary)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Dolvane test//EN\r\nBEGIN:VTODO\r\nUID:" + uid +
           "\r\nDTSTAMP:20100501T000000Z\r\nSUMMARY:" + summary + "\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";
}

std::vector<std::string> Hrefs(const std::vector<DavResource>& resources)
{
    std::vector<std::string> hrefs;
    for (const auto& resource : resources) {
        hrefs.push_back(resource.href);
    }
    std::sort(hrefs.begin(), hrefs.end());
    return hrefs;
}

CalDavClient ClientFor(std::string password = std::string(RadicaleServer::kPassword), HttpSettings settings = {})
{
    return CalDavClient(std::string(RadicaleServer::kUser), std::move(password), std::move(settings));
}

// Runs `attempt`, expects SyncError and gives its message ("" when nothing was thrown).
std::string SyncErrorOf(const std::function<void()>& attempt)
{
    try {
        attempt();
    } catch (const SyncError& error) {
        return error.what();
    }
    return {};
}

// A server of the test's own; its constructor throws with the server's log when it does not start.
class CalDavClientTest : public ::testing::Test {
protected:
    RadicaleServer server_;
    std::string collection_ = server_.CollectionUrl();
    CalDavClient client_ = ClientFor();
};

TEST_F(CalDavClientTest, ListsTheWholeCollectionThenOnlyTheChangesSinceItsToken)
{
    const std::string first = CalDavClient::HrefFor(collection_, "first");
    const std::string second = CalDavClient::HrefFor(collection_, "second");
    const PutResult created = client_.Put(first, Ics("first", "一つ目"), {});
    ASSERT_EQ(created.outcome, WriteOutcome::Done);
    ASSERT_EQ(client_.Put(second, Ics("second", "二つ目"), {}).outcome, WriteOutcome::Done);

    const DavListing whole = client_.List(collection_, {});
    EXPECT_TRUE(whole.complete);
    EXPECT_FALSE(whole.syncToken.empty());
    EXPECT_EQ(Hrefs(whole.present), (std::vector{first, second}));
    const auto firstListed = std::find_if(whole.present.begin(), whole.present.end(),
                                          [&](const DavResource& resource) { return resource.href == first; });
    EXPECT_EQ(firstListed->etag, created.etag);
    // Bodies come in UTF-8; what is gone is left out.
    const auto fetched =
        client_.Fetch(collection_, std::vector{first, CalDavClient::HrefFor(collection_, "never-made")});
    ASSERT_EQ(fetched.size(), 1u);
    EXPECT_EQ(fetched[0].etag, created.etag);
    EXPECT_NE(fetched[0].ics.find("SUMMARY:一つ目"), std::string::npos) << fetched[0].ics;

    const std::string third = CalDavClient::HrefFor(collection_, "third");
    ASSERT_EQ(client_.Put(third, Ics("third", "三つ目"), {}).outcome, WriteOutcome::Done);
    const DavListing changes = client_.List(collection_, whole.syncToken);
    EXPECT_FALSE(changes.complete);
    EXPECT_EQ(Hrefs(changes.present), std::vector{third});
    EXPECT_TRUE(changes.removedHrefs.empty());

    ASSERT_EQ(client_.Delete(first, created.etag), WriteOutcome::Done);
    const DavListing removal = client_.List(collection_, changes.syncToken);
    EXPECT_TRUE(removal.present.empty());
    EXPECT_EQ(removal.removedHrefs, std::vector{first});

    // Nothing changed: one request (a sync of an unchanged list must stay cheap).
    const auto requests = [this] { return test::Occurrences(server_.Log(), "request for"); };
    const auto before = requests();
    const DavListing unchanged = client_.List(collection_, removal.syncToken);
    EXPECT_EQ(requests() - before, 1U);
    EXPECT_TRUE(unchanged.present.empty() && unchanged.removedHrefs.empty());
    EXPECT_EQ(unchanged.syncToken, removal.syncToken);

    // A token the server does not know gives the whole collection again.
    const DavListing restart = client_.List(collection_, "http://radicale.org/ns/sync/unknown");
    EXPECT_TRUE(restart.complete);
    EXPECT_EQ(Hrefs(restart.present), (std::vector{second, third}));
}

// Each write names the version it replaces: one the server no longer holds is refused, and the
// server keeps what it has.
TEST_F(CalDavClientTest, WritesHoldOnlyWhileTheirPreconditionDoes)
{
    const std::string href = CalDavClient::HrefFor(collection_, "guarded");
    const PutResult original = client_.Put(href, Ics("guarded", "元"), {});
    const PutResult edited = client_.Put(href, Ics("guarded", "改"), original.etag);
    ASSERT_EQ(edited.outcome, WriteOutcome::Done);
    ASSERT_FALSE(edited.etag.empty());
    ASSERT_NE(edited.etag, original.etag);

    const struct {
        const char* what;
        std::function<WriteOutcome()> write;
        WriteOutcome expected;
    } cases[] = {
        {"a second creation", [&] { return client_.Put(href, Ics("guarded", "別"), {}).outcome; },
         WriteOutcome::PreconditionFailed},
        {"a put over a stale ETag", [&] { return client_.Put(href, Ics("guarded", "古"), original.etag).outcome; },
         WriteOutcome::PreconditionFailed},
        {"a delete of a stale ETag", [&] { return client_.Delete(href, original.etag); },
         WriteOutcome::PreconditionFailed},
        {"a delete of the current ETag", [&] { return client_.Delete(href, edited.etag); }, WriteOutcome::Done},
        {"a delete of what is gone", [&] { return client_.Delete(href, edited.etag); }, WriteOutcome::NotFound},
    };
    for (const auto& writing : cases) {
        EXPECT_EQ(writing.write(), writing.expected) << writing.what;
    }
    EXPECT_TRUE(client_.List(collection_, {}).present.empty());
}

// Sends `answer` to every connection after reading its request (a server that redirects
// elsewhere), or, when it is empty, never takes a connection from the queue: one that hangs.
class LocalListener final {
public:
    explicit LocalListener(std::string answer) : answer_(std::move(answer))
    {
        socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(socket_, 4);
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        if (!answer_.empty()) {
            thread_ = std::thread([this] { Serve(); });
        }
    }
    ~LocalListener()
    {
        ::shutdown(socket_, SHUT_RDWR);
        if (thread_.joinable()) {
            thread_.join();
        }
        ::close(socket_);
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    int Port() const { return port_; }

private:
    void Serve()
    {
        for (int client; (client = ::accept(socket_, nullptr, nullptr)) >= 0; ::close(client)) {
            char request[4096];
            if (::recv(client, request, sizeof request, 0) > 0) {
                ::send(client, answer_.data(), answer_.size(), MSG_NOSIGNAL);
            }
        }
    }

    std::string answer_;
    int socket_ = -1;
    int port_ = 0;
    std::thread thread_;
};

TEST_F(CalDavClientTest, FailuresAreSyncErrorsNamingTheUrlAndWhatWentWrong)
{
    LocalListener hung("");
    // Another loopback address is another host; nothing listens there.
    LocalListener elsewhere("HTTP/1.1 301 Moved Permanently\r\nLocation: http://127.0.0.2:" +
                            std::to_string(hung.Port()) + "/tasks/\r\nContent-Length: 0\r\n\r\n");
    HttpSettings impatient;
    impatient.timeoutSeconds = 1;
    HttpSettings small;
    small.maxBodyBytes = 200;
    const std::string password(RadicaleServer::kPassword);

    const struct {
        const char* what;
        std::string password;
        HttpSettings settings;
        std::string url;
        std::vector<std::string> expected;  // parts of the message
    } cases[] = {
        {"a wrong password", "wrong", {}, collection_, {"認証に失敗しました (401)", collection_}},
        // Port 1 is privileged and free: the connection is refused, as by a server that crashed.
        {"nobody listening", password, {}, "http://127.0.0.1:1/", {"サーバーが応答しません: http://127.0.0.1:1/"}},
        {"a server that never answers", password, impatient, hung.Url(), {"サーバーが応答しません", hung.Url()}},
        {"an answer over the limit", password, small, collection_, {"大きすぎます", "200", collection_}},
        {"a redirect to another host", password, {}, elsewhere.Url(), {"別のサーバー", elsewhere.Url(), "127.0.0.2:"}},
    };
    for (const auto& failing : cases) {
        CalDavClient client = ClientFor(failing.password, failing.settings);
        const auto start = std::chrono::steady_clock::now();
        const std::string message = SyncErrorOf([&] { client.List(failing.url, {}); });
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << failing.what;
        for (const auto& part : failing.expected) {
            EXPECT_NE(message.find(part), std::string::npos) << failing.what << ": " << message;
        }
    }
}

// TLS is always verified: a certificate no authority vouches for is refused unless the CA file
// given in the settings does.
TEST(CalDavTlsTest, TrustsAServerCertificateOnlyThroughTheCaFile)
{
    RadicaleServer server(RadicaleServer::Transport::Https);
    HttpSettings trusting;
    trusting.caFile = server.CertificateFile().string();

    const std::string refused = SyncErrorOf([&] { ClientFor().List(server.CollectionUrl(), {}); });

    EXPECT_NE(refused.find("サーバーの証明書を確認できません: " + server.CollectionUrl()), std::string::npos)
        << refused;
    EXPECT_TRUE(ClientFor(std::string(RadicaleServer::kPassword), trusting).List(server.CollectionUrl(), {}).complete);
}

// "tasks" takes to-dos, "events" only events.
TEST_F(CalDavClientTest, DiscoveryFindsTheCollectionTakingTodosOrSaysThereIsNone)
{
    const std::string events = server_.AddCollection("events", "VEVENT");

    const struct {
        const char* what;
        std::string url;
    } found[] = {
        {"the server root", server_.Url()},
        {"the well-known URL, redirected", server_.Url() + ".well-known/caldav"},
        {"the principal", server_.Url() + "tester/"},
        {"the collection", collection_},
        {"the collection without its slash", collection_.substr(0, collection_.size() - 1)},
    };
    for (const auto& start : found) {
        EXPECT_EQ(client_.DiscoverCollection(start.url), collection_) << start.what;
    }

    const std::string refused = SyncErrorOf([&] { client_.DiscoverCollection(events); });
    EXPECT_NE(refused.find("このカレンダーは ToDo (VTODO) を扱えません: " + events), std::string::npos) << refused;
    std::filesystem::remove_all(server_.StorageFolder() / "collection-root" / "tester" / "tasks");
    const std::string none = SyncErrorOf([&] { client_.DiscoverCollection(server_.Url()); });
    EXPECT_NE(none.find("このカレンダーは ToDo (VTODO) を扱えません"), std::string::npos) << none;
}

}  // namespace
}  // namespace dolvane
