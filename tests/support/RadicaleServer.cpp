#include "support/RadicaleServer.h"

#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <stdexcept>
#include <thread>

namespace dolvane::test {
namespace {

constexpr const char* kRadicale = "/usr/bin/radicale";
// Long enough for a start on a busy machine (it takes well under a second here).
constexpr auto kStartLimit = std::chrono::seconds(10);

// What the server says once it has bound its address, the port following the last colon.
constexpr std::string_view kListening = "Listening on '";

}  // namespace

RadicaleServer::RadicaleServer(Transport transport)
    : storage_(folder_ / "storage"),
      config_(folder_ / "config"),
      log_(folder_ / "radicale.log"),
      scheme_(transport == Transport::Https ? "https" : "http")
{
    std::string tls;
    if (transport == Transport::Https) {
        const auto key = folder_ / "key.pem";
        const Finished made =
            RunChild({"/usr/bin/openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                      "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                      "-keyout", key.string(), "-out", CertificateFile().string()},
                     {}, folder_.Path());
        if (made.exitCode != 0) {
            throw std::runtime_error("openssl made no certificate:\n" + made.err);
        }
        tls = "ssl = True\ncertificate = " + CertificateFile().string() + "\nkey = " + key.string() + "\n";
    }
    WriteBytes(folder_ / "users", std::string(kUser) + ":" + std::string(kPassword) + "\n");
    AddCollection("tasks");
    settings_ = tls + "[auth]\ntype = htpasswd\nhtpasswd_filename = " + (folder_ / "users").string() +
                "\nhtpasswd_encryption = plain\n"
                // A wrong password is answered at once, not after the default second.
                "delay = 0\n"
                "[storage]\nfilesystem_folder = " +
                storage_.string() + "\n[web]\ntype = none\n[logging]\nlevel = info\n";
    Start();
}

RadicaleServer::~RadicaleServer()
{
    Stop(SIGTERM);
    const auto& unit = *::testing::UnitTest::GetInstance();
    const bool failed = unit.current_test_info() != nullptr    ? unit.current_test_info()->result()->Failed()
                        : unit.current_test_suite() != nullptr ? unit.current_test_suite()->Failed()
                                                               : false;
    if (failed) {
        std::cerr << "--- radicale log (" << log_.string() << ") ---\n" << Log() << "--- end of radicale log ---\n";
    }
}

std::string RadicaleServer::Url() const
{
    return scheme_ + "://127.0.0.1:" + std::to_string(port_) + "/";
}

std::string RadicaleServer::CollectionUrl() const
{
    return Url() + std::string(kUser) + "/tasks/";
}

std::string RadicaleServer::AddCollection(std::string_view name, std::string_view components)
{
    // What MKCALENDAR would leave behind: the folder and its properties.
    const auto collection = storage_ / "collection-root" / kUser / name;
    std::filesystem::create_directories(collection);
    WriteBytes(collection / ".Radicale.props",
               "{\"C:supported-calendar-component-set\": \"" + std::string(components) + "\", \"tag\": \"VCALENDAR\"}");
    return Url() + std::string(kUser) + "/" + std::string(name) + "/";
}

void RadicaleServer::Start()
{
    if (Running()) {
        return;
    }
    // Port 0 at the first start: the system picks a free one, and a start after Kill takes it again.
    WriteBytes(config_, "[server]\nhosts = 127.0.0.1:" + std::to_string(port_) + "\n" + settings_);
    const std::size_t logged = Log().size();
    pid_ = StartChild({kRadicale, "--config", config_.string()}, {}, log_, log_);
    if (pid_ < 0) {
        throw std::runtime_error(std::string("cannot start ") + kRadicale);
    }
    const auto end = std::chrono::steady_clock::now() + kStartLimit;
    while (std::chrono::steady_clock::now() < end) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("radicale ended at its start:\n" + Log());
        }
        const std::string log = Log().substr(logged);
        const auto listening = log.find(kListening);
        if (listening != std::string::npos && log.find("Radicale server ready", listening) != std::string::npos) {
            port_ = std::stoi(log.substr(log.rfind(':', log.find('\'', listening + kListening.size())) + 1));
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Stop(SIGKILL);
    throw std::runtime_error("radicale did not answer within 10 s:\n" + Log());
}

void RadicaleServer::Stop(int signal)
{
    if (!Running()) {
        return;
    }
    ::kill(pid_, signal);
    WaitForChild(pid_, std::chrono::seconds(5), "radicale");
    pid_ = -1;
}

}  // namespace dolvane::test
