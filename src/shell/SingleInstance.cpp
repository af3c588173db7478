#include "shell/SingleInstance.h"

#include "foundation/AtomicFile.h"
#include "foundation/Log.h"
#include "foundation/PrivateFolder.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

SingleInstance::SingleInstance(QString lockFilePath, QDBusConnection bus)
    : m_lockFilePath(std::move(lockFilePath))
    , m_bus(std::move(bus))
{
}

SingleInstance::~SingleInstance()
{
    // The lock first: a relaunched copy that sees the name go takes it next.
    if (m_lockFile >= 0)
        ::close(m_lockFile);
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

SingleInstance::Claim SingleInstance::claim(int lockWaitMs)
{
    const auto lockAlone = [&] { return lockDataFolder(lockWaitMs) ? Claim::Owned : Claim::RunningInAnotherSession; };
    if (!m_bus.isConnected()) {
        LOG_WARN("No session bus, another start of the program cannot be noticed");
        return lockAlone();
    }
    // The object first, so that a second start that sees the name can call it.
    if (!m_bus.registerObject(ObjectPath, this, QDBusConnection::ExportScriptableSlots)) {
        LOG_ERROR("Failed exporting %1 on the session bus", ObjectPath);
        return lockAlone();
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = m_bus.interface()->registerService(
        ServiceName, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    m_owned = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
    if (m_owned && lockDataFolder(lockWaitMs))
        return Claim::Owned;
    if (m_owned)
        m_bus.unregisterService(ServiceName);
    m_bus.unregisterObject(ObjectPath);
    const bool otherSession = m_owned;
    m_owned = false;
    return otherSession ? Claim::RunningInAnotherSession : Claim::RunningInThisSession;
}

bool SingleInstance::lockDataFolder(int waitMs)
{
    const QString folder = QFileInfo(m_lockFilePath).path();
    if (const int failure = PrivateFolder::make(folder)) {
        LOG_WARN("Failed making the data folder %1 for its lock, another copy cannot be noticed: %2", folder, AtomicFile::describe(failure));
        return true;
    }
    m_lockFile = ::open(QFile::encodeName(m_lockFilePath).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_lockFile < 0) {
        LOG_WARN("Failed opening the lock file %1, another copy cannot be noticed: %2", m_lockFilePath, AtomicFile::describe(errno));
        return true;
    }
    const QDeadlineTimer deadline(waitMs);
    while (::flock(m_lockFile, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            LOG_WARN("Failed locking %1, another copy cannot be noticed: %2", m_lockFilePath, AtomicFile::describe(errno));
            return true;
        }
        if (deadline.hasExpired()) {
            LOG_WARN("Another copy of the program holds the lock on %1", m_lockFilePath);
            ::close(m_lockFile);
            m_lockFile = -1;
            return false;
        }
        QThread::msleep(50);
    }
    return true;
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
