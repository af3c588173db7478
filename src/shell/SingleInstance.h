#pragma once
// One program per session: the first start owns the bus name of the
// application and answers Activate; a later start asks that one to come
// forward and ends, so the items never run twice. And one program per data
// folder across sessions (two logins of one user, a nested session): the
// owner also holds an abstract socket named after the user and the data
// folder, and an flock on a lock file in that folder, so that two copies
// never write over each other's edits, whatever happens to the folder.
#include <QDBusConnection>
#include <QObject>
#include <functional>

class SingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.mossharbour.Lanternwick2.Application")
public:
    static inline const QString ServiceName = QStringLiteral(LW_BUNDLE_IDENTIFIER);
    static inline const QString ObjectPath = QStringLiteral("/com/mossharbour/Lanternwick2");
    static inline const QString InterfaceName = QStringLiteral("com.mossharbour.Lanternwick2.Application");

    enum class Claim { Owned, RunningInThisSession, RunningInAnotherSession };

    // lockFilePath is in the data folder, which claim() makes when it is missing.
    explicit SingleInstance(QString lockFilePath, QDBusConnection bus = QDBusConnection::sessionBus());
    ~SingleInstance() override;

    // A relaunched copy waits, at most timeoutMs, until the copy with
    // process ID pid no longer owns the name, so that claim() can succeed.
    void waitForRelease(qint64 pid, int timeoutMs);
    // Owned when this process now owns the name, the socket and the lock;
    // those held elsewhere are waited for at most lockWaitMs (a relaunch,
    // while the old copy ends). Without a session bus there is nobody to share
    // the session with, and the data folder's claim alone decides. A lock that
    // cannot be taken for any other reason is taken for another copy's; a data
    // folder that cannot be made leaves the socket alone to decide.
    Claim claim(int lockWaitMs = 0);
    // Asks the owner of the name to come forward; false when nobody answered.
    bool activateRunningInstance();

    // What Activate does in the owner.
    void setActivationHandler(std::function<void()> handler) { m_handler = std::move(handler); }

public Q_SLOTS:
    Q_SCRIPTABLE void Activate();

private:
    // False when another process holds the socket or the lock, or the lock
    // cannot be taken.
    bool lockDataFolder(int waitMs);
    // False with errno set when the socket cannot be bound.
    bool claimDataFolder(const QString& folder);
    void releaseDataFolder();

    const QString m_lockFilePath;
    QDBusConnection m_bus;
    std::function<void()> m_handler;
    bool m_owned = false;
    int m_lockFile = -1;
    int m_claim = -1;
};
