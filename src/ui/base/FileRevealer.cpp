#include "ui/base/FileRevealer.h"

#include "foundation/Log.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>

namespace {

const QString kFileManagerService = QStringLiteral("org.freedesktop.FileManager1");
const QString kFileManagerPath = QStringLiteral("/org/freedesktop/FileManager1");
// A file manager that is slow to start still gets its time; one that never
// answers leaves the folder to the default handler.
constexpr int kShowItemsTimeoutMilliseconds = 5000;

} // namespace

FileRevealer::FileRevealer()
    : FileRevealer(QDBusConnection::sessionBus(), [](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
}

FileRevealer::FileRevealer(QDBusConnection bus, Opener opener)
    : m_bus(std::move(bus))
    , m_opener(std::move(opener))
{
}

bool FileRevealer::revealPath(const QString& path) const
{
    const QFileInfo file(path);
    if (path.isEmpty() || !file.exists()) {
        LOG_WARN("Cannot reveal %1: nothing is there", path);
        return false;
    }
    LOG_VERBOSE("Revealing %1 in the file manager...", path);
    const QUrl folder = QUrl::fromLocalFile(file.absolutePath());
    const Opener opener = m_opener;
    if (!m_bus.isConnected())
        return opener(folder);
    QDBusMessage message = QDBusMessage::createMethodCall(kFileManagerService, kFileManagerPath, kFileManagerService,
                                                          QStringLiteral("ShowItems"));
    message << QStringList { QUrl::fromLocalFile(file.absoluteFilePath()).toString() } << QString();
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, kShowItemsTimeoutMilliseconds));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [watcher, folder, opener] {
        const QDBusPendingReply<> reply = *watcher;
        if (reply.isError()) {
            LOG_INFO("No file manager shows items (%1); opening the folder instead", reply.error().message());
            if (!opener(folder))
                LOG_ERROR("Could not open %1", folder.toLocalFile());
        }
        watcher->deleteLater();
    });
    return true;
}
