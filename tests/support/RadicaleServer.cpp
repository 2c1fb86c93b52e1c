#include "support/RadicaleServer.h"

#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace dolvane::test {
namespace {

constexpr const char* kRadicale = "/usr/bin/radicale";
// Long enough for a start on a busy machine (it takes well under a second here).
constexpr auto kStartLimit = std::chrono::seconds(10);

sockaddr_in LocalAddress(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port nobody listens on now: the system's choice for port 0, released again for the server.
int FreePort()
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = LocalAddress(0);
    socklen_t length = sizeof address;
    if (socket < 0 || ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("no free local port");
    }
    ::close(socket);
    return ntohs(address.sin_port);
}

bool Answers(int port)
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = LocalAddress(port);
    const bool connected = ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return connected;
}

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
    port_ = FreePort();
    WriteBytes(config_, "[server]\nhosts = 127.0.0.1:" + std::to_string(port_) + "\n" + tls +
                            "[auth]\ntype = htpasswd\nhtpasswd_filename = " + (folder_ / "users").string() +
                            "\nhtpasswd_encryption = plain\n"
                            // A wrong password is answered at once, not after the default second.
                            "delay = 0\n"
                            "[storage]\nfilesystem_folder = " +
                            storage_.string() +
                            "\n"
                            "[web]\ntype = none\n"
                            "[logging]\nlevel = info\n");
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
    std::string program = kRadicale;
    std::string option = "--config";
    std::string config = config_.string();
    char* argv[] = {program.data(), option.data(), config.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log_.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int spawned = posix_spawn(&pid_, kRadicale, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        pid_ = -1;
        throw std::runtime_error(std::string("cannot start ") + kRadicale);
    }
    const auto end = std::chrono::steady_clock::now() + kStartLimit;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("radicale ended at its start:\n" + Log());
        }
        if (Answers(port_)) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Stop(SIGKILL);
    throw std::runtime_error("radicale did not answer within 10 s:\n" + Log());
}

void RadicaleServer::Kill()
{
    Stop(SIGKILL);
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

std::string RadicaleServer::Log() const
{
    return ReadBytes(log_);
}

}  // namespace dolvane::test
