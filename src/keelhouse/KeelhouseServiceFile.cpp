#include "keelhouse/KeelhouseServiceFile.h"

#include "foundation/Log.h"
#include "keelhouse/KeelhouseBus.h"
#include "platform/linux/GioPtr.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString KeelhouseServiceFile::filePath()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return QStringLiteral("%1/dbus-1/services/%2.service").arg(dataHome, KeelhouseBus::serviceName());
}

std::optional<QByteArray> KeelhouseServiceFile::contentsFor(const QString& programPath)
{
    // The bus reads the file line by line and splits Exec like a shell: a line
    // break cannot be quoted there.
    if (programPath.isEmpty() || programPath.contains(QLatin1Char('\n')) || programPath.contains(QLatin1Char('\r')))
        return std::nullopt;
    const QString exec = takeGString(g_shell_quote(QFileInfo(programPath).absoluteFilePath().toUtf8().constData()));
    return QStringLiteral("[D-BUS Service]\nName=%1\nExec=%2\n").arg(KeelhouseBus::serviceName(), exec).toUtf8();
}

bool KeelhouseServiceFile::install(const QString& programPath, QDBusConnection bus)
{
    const std::optional<QByteArray> contents = contentsFor(programPath);
    if (!contents) {
        LOG_ERROR("Failed writing the service file: the program path %1 cannot be named in it", programPath);
        return false;
    }
    const QString path = filePath();
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == *contents)
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*contents) != contents->size() || !file.commit()) {
        LOG_ERROR("Failed writing the service file %1: %2", path, file.errorString());
        return false;
    }
    LOG_INFO("Wrote the service file %1", path);
    const QDBusMessage reply = bus.call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ReloadConfig")));
    if (reply.type() == QDBusMessage::ErrorMessage)
        LOG_WARN("The bus did not reload its configuration: %1", reply.errorMessage());
    return true;
}
