#pragma once
// One program per session: the first start owns the bus name of the
// application and answers Activate; a later start asks that one to come
// forward and ends, so the items never run twice.
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

    explicit SingleInstance(QDBusConnection bus = QDBusConnection::sessionBus());
    ~SingleInstance() override;

    // A relaunched copy waits, at most timeoutMs, until the copy with
    // process ID pid no longer owns the name, so that claim() can succeed.
    void waitForRelease(qint64 pid, int timeoutMs);
    // True when this process now owns the name. Without a session bus there
    // is nobody to share the session with, and the process goes on alone.
    bool claim();
    // Asks the owner of the name to come forward; false when nobody answered.
    bool activateRunningInstance();

    // What Activate does in the owner.
    void setActivationHandler(std::function<void()> handler) { m_handler = std::move(handler); }

public Q_SLOTS:
    Q_SCRIPTABLE void Activate();

private:
    QDBusConnection m_bus;
    std::function<void()> m_handler;
    bool m_owned = false;
};
