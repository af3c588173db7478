#include "shell/SingleInstance.h"

#include "foundation/AtomicFile.h"
#include "foundation/Log.h"
#include "foundation/PrivateFolder.h"

#include <QCryptographicHash>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QDeadlineTimer>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

SingleInstance::SingleInstance(QString lockFilePath, QDBusConnection bus)
    : m_lockFilePath(std::move(lockFilePath))
    , m_bus(std::move(bus))
{
}

SingleInstance::~SingleInstance()
{
    // The data folder first: a relaunched copy that sees the name go takes it next.
    releaseDataFolder();
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
    const QString folderFailure = PrivateFolder::make(folder);
    if (!folderFailure.isEmpty())
        LOG_WARN("Failed making the data folder for its lock, the claim alone decides: %1", folderFailure);
    else if (const int failure = AtomicFile::open(m_lockFilePath, O_RDWR | O_CREAT, 0600, &m_lockFile)) {
        LOG_ERROR("Failed opening the lock file %1, taken for another copy's: %2", m_lockFilePath, AtomicFile::describe(failure));
        return false;
    }
    const QDeadlineTimer deadline(waitMs);
    while (!claimDataFolder(folder) || (m_lockFile >= 0 && ::flock(m_lockFile, LOCK_EX | LOCK_NB) != 0)) {
        const int failure = errno;
        if (failure == EINTR)
            continue;
        if ((failure != EWOULDBLOCK && failure != EADDRINUSE) || deadline.hasExpired()) {
            LOG_WARN("Another copy of the program holds the data folder %1 (%2)", folder, AtomicFile::describe(failure));
            releaseDataFolder();
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

bool SingleInstance::claimDataFolder(const QString& folder)
{
    if (m_claim >= 0)
        return true;
    // Abstract: no file stands for it, so nothing done on the disk deletes or
    // replaces it, and it goes with the process however that ends.
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QByteArray name = "lanternwick-" + QByteArray::number(::getuid()) + '-'
        + QCryptographicHash::hash(QFile::encodeName(canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical),
                                   QCryptographicHash::Sha256).toHex();
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));
    const int claim = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (claim < 0)
        return false;
    if (::bind(claim, reinterpret_cast<const sockaddr*>(&address), socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(name.size()))) != 0) {
        const int failure = errno;
        ::close(claim);
        errno = failure;
        return false;
    }
    m_claim = claim;
    return true;
}

void SingleInstance::releaseDataFolder()
{
    for (int* descriptor : { &m_lockFile, &m_claim }) {
        if (*descriptor >= 0)
            ::close(*descriptor);
        *descriptor = -1;
    }
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
