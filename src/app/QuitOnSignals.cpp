#include "QuitOnSignals.h"

#include "foundation/Log.h"

#include <QCoreApplication>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// Written by the handler (only async-signal-safe calls there), read by the loop.
int gSignalSockets[2] = { -1, -1 };
} // namespace

QuitOnSignals::QuitOnSignals()
{
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalSockets) != 0) {
        LOG_ERROR("Failed setting up the quit signals, the program ends without its quit steps at logout");
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(gSignalSockets[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [] {
        char signal = 0;
        if (read(gSignalSockets[1], &signal, 1) == 1)
            LOG_INFO("Signal %1 received, quitting...", int(signal));
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

QuitOnSignals::~QuitOnSignals()
{
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
    m_notifier.reset();
    close(gSignalSockets[0]);
    close(gSignalSockets[1]);
}

void QuitOnSignals::handleSignal(int signal)
{
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t written = write(gSignalSockets[0], &byte, 1);
}
