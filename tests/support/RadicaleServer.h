#pragma once

#include "support/TempFolder.h"

#include <signal.h>
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace dolvane::test {

// A real CalDAV server (the distribution's `radicale`) on a free localhost port, with a throwaway
// configuration, storage folder and plain htpasswd file holding one user, kUser with kPassword.
// The constructor returns once the server takes connections and throws std::runtime_error with
// the server's log when it does not within a few seconds. The destructor stops it with SIGTERM
// and, when the running test or suite has failed, prints the log (every request at level info).
class RadicaleServer final {
public:
    static constexpr std::string_view kUser = "tester";
    static constexpr std::string_view kPassword = "secret";

    enum class Transport { Http, Https };

    // Https: a certificate of its own for 127.0.0.1, made for the run and trusted by nobody
    // unless given CertificateFile() as the CA.
    explicit RadicaleServer(Transport transport = Transport::Http);
    ~RadicaleServer();
    RadicaleServer(const RadicaleServer&) = delete;
    RadicaleServer& operator=(const RadicaleServer&) = delete;

    // "http://127.0.0.1:<port>/" (https with Transport::Https), the server root.
    std::string Url() const;
    // The user's collection "tasks/", made before the start, taking VTODO only.
    std::string CollectionUrl() const;
    // A further calendar collection of the user's taking `components` (comma-separated, such as
    // "VTODO" or "VEVENT"); the server finds it on the next request. Gives its URL.
    std::string AddCollection(std::string_view name, std::string_view components = "VTODO");

    // SIGKILL, as a crash or a power cut would end it; Start() brings it back on the same port
    // and storage.
    void Kill() { Stop(SIGKILL); }
    void Start();
    bool Running() const { return pid_ > 0; }

    std::string Log() const { return ReadBytes(log_); }
    const std::filesystem::path& StorageFolder() const { return storage_; }
    std::filesystem::path CertificateFile() const { return folder_ / "cert.pem"; }

private:
    void Stop(int signal);

    TempFolder folder_;
    std::filesystem::path storage_;
    std::filesystem::path config_;
    std::string settings_;  // the configuration after the address
    std::filesystem::path log_;
    std::string scheme_;
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace dolvane::test
