#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalSockets[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void WriteSignal(int signal) {
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] ssize_t written = ::write(g_signalSockets[0], &byte, 1);
}

} // namespace

CTerminationSignals::CTerminationSignals(std::function<void()> onSignal)
    : m_onSignal(std::move(onSignal)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalSockets) != 0)
        return;
    m_notifier = new QSocketNotifier(g_signalSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        if (::read(g_signalSockets[1], &byte, 1) == 1)
            m_onSignal();
    });
    struct sigaction action {};
    action.sa_handler = WriteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

CTerminationSignals::~CTerminationSignals() {
    for (int signal : kSignals)
        std::signal(signal, SIG_DFL);
    delete m_notifier;
    for (int& fd : g_signalSockets) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}
