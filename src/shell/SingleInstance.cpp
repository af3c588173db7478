#include "shell/SingleInstance.h"

#include "foundation/Log.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QTimer>

SingleInstance::SingleInstance(QDBusConnection bus)
    : m_bus(std::move(bus))
{
}

SingleInstance::~SingleInstance()
{
    if (m_owned) {
        m_bus.unregisterObject(ObjectPath);
        m_bus.unregisterService(ServiceName);
    }
}

void SingleInstance::waitForRelease(qint64 pid, int timeoutMs)
{
    if (!m_bus.isConnected())
        return;
    // Watching before asking: a release between the two still ends the wait.
    QDBusServiceWatcher watcher(ServiceName, m_bus, QDBusServiceWatcher::WatchForUnregistration);
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    const QDBusReply<uint> owner = m_bus.interface()->servicePid(ServiceName);
    if (!owner.isValid() || qint64(owner.value()) != pid)
        return;
    LOG_INFO("Waiting for the previous copy (%1) to end...", pid);
    loop.exec();
}

bool SingleInstance::claim()
{
    if (!m_bus.isConnected()) {
        LOG_WARN("No session bus, another start of the program cannot be noticed");
        return true;
    }
    // The object first, so that a second start that sees the name can call it.
    if (!m_bus.registerObject(ObjectPath, this, QDBusConnection::ExportScriptableSlots)) {
        LOG_ERROR("Failed exporting %1 on the session bus", ObjectPath);
        return true;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = m_bus.interface()->registerService(
        ServiceName, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    m_owned = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
    if (!m_owned)
        m_bus.unregisterObject(ObjectPath);
    return m_owned;
}

bool SingleInstance::activateRunningInstance()
{
    const QDBusMessage call = QDBusMessage::createMethodCall(ServiceName, ObjectPath, InterfaceName, QStringLiteral("Activate"));
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        LOG_ERROR("Failed asking the running program to come forward: %1", reply.errorMessage());
        return false;
    }
    return true;
}

void SingleInstance::Activate()
{
    LOG_INFO("Another start of the program asked this one to come forward");
    if (m_handler)
        m_handler();
}
