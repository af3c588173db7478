#pragma once
// The session ends the program with SIGTERM at logout (SIGHUP when its
// terminal goes, SIGINT from a terminal): each quits through the event loop,
// so that the quit steps (the boot time for the next start, the session save)
// still run. A dialog or window loop that is open then is dismissed with its
// cancel answer, and every event loop ends, so no dialog keeps the program.
// Whatever a thread waits for, the program ends within seconds of the signal.
#include <QObject>
#include <QSocketNotifier>
#include <memory>

class QuitOnSignals : public QObject {
    Q_OBJECT
public:
    QuitOnSignals();
    ~QuitOnSignals() override;

    // A signal came: the program is to end, also when the main event loop
    // has not started yet (a dialog at start).
    bool wasSignalled() const { return m_signalled; }

private:
    static void handleSignal(int signal);
    void quit();

    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_signalled = false;
};
