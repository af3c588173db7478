#pragma once
// The session ends the program with SIGTERM at logout (SIGINT from a
// terminal): both quit through the event loop, so that the quit steps
// (the boot time for the next start, the session save) still run.
#include <QObject>
#include <QSocketNotifier>
#include <memory>

class QuitOnSignals : public QObject {
    Q_OBJECT
public:
    QuitOnSignals();
    ~QuitOnSignals() override;

private:
    static void handleSignal(int signal);

    std::unique_ptr<QSocketNotifier> m_notifier;
};
