#include "QuitOnSignals.h"

#include "foundation/Log.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// Written by the handler (only async-signal-safe calls there), read by the loop.
int gSignalSockets[2] = { -1, -1 };
constexpr int kQuitSignals[] = { SIGTERM, SIGINT, SIGHUP };
// The quit steps take far less; past this something waits for what never
// comes, and the session wants the program gone.
constexpr unsigned kSecondsToQuit = 10;

void endNow(int)
{
    static constexpr char message[] = "The quit steps did not end in time, ending at once\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
    _exit(1);
}
} // namespace

QuitOnSignals::QuitOnSignals()
{
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalSockets) != 0) {
        LOG_ERROR("Failed setting up the quit signals, the program ends without its quit steps at logout");
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(gSignalSockets[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        char signal = 0;
        if (read(gSignalSockets[1], &signal, 1) == 1)
            LOG_INFO("Signal %1 received, quitting...", int(signal));
        quit();
    });
    struct sigaction action = {};
    action.sa_handler = handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kQuitSignals)
        sigaction(signal, &action, nullptr);
    signal(SIGALRM, endNow);
}

QuitOnSignals::~QuitOnSignals()
{
    for (const int quitSignal : kQuitSignals)
        signal(quitSignal, SIG_DFL);
    alarm(0);
    signal(SIGALRM, SIG_DFL);
    m_notifier.reset();
    close(gSignalSockets[0]);
    close(gSignalSockets[1]);
}

void QuitOnSignals::handleSignal(int signal)
{
    // Ends the program even when no thread comes back to the event loop.
    alarm(kSecondsToQuit);
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t written = write(gSignalSockets[0], &byte, 1);
}

void QuitOnSignals::quit()
{
    m_signalled = true;
    // Rejected, the dialogs answer what changes nothing; the dialog code
    // goes on with that answer and returns to the loops, which all end.
    QList<QPointer<QDialog>> dialogs;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (auto* dialog = qobject_cast<QDialog*>(window))
            dialogs.append(dialog);
    }
    for (const QPointer<QDialog>& dialog : std::as_const(dialogs)) {
        if (dialog && dialog->isVisible()) {
            LOG_VERBOSE("Dismissing dialog %1...", dialog->objectName());
            dialog->reject();
        }
    }
    // Unlike quit(), ends the nested loops too, and every loop started
    // before the main one returns; a window cannot refuse it.
    QCoreApplication::exit(0);
}
