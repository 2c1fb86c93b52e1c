#include "platform/TerminationRequest.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace dolvane {
namespace {

// The handler may only do async-signal-safe work: it writes one byte into a socket that the
// event loop watches.
int gSignalSockets[2] = {-1, -1};

void OnTerminationSignal(int)
{
    const char byte = 1;
    (void)!::write(gSignalSockets[0], &byte, 1);
}

}  // namespace

TerminationRequest::TerminationRequest(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalSockets) != 0) {
        return;
    }
    notifier_ = new QSocketNotifier(gSignalSockets[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        (void)!::read(gSignalSockets[1], &byte, 1);
        Q_EMIT requested();
    });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

TerminationRequest::~TerminationRequest()
{
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGINT, SIG_DFL);
}

}  // namespace dolvane
