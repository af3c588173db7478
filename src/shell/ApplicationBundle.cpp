#include "shell/ApplicationBundle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

ApplicationBundle::ApplicationBundle(QString executableDirectory)
    : m_executableDirectory(std::move(executableDirectory))
{
}

ApplicationBundle ApplicationBundle::current()
{
    return ApplicationBundle(QCoreApplication::applicationDirPath());
}

QString ApplicationBundle::installedPath(const QString& relativePath) const
{
    return QDir::cleanPath(m_executableDirectory + QStringLiteral("/../") + relativePath);
}

QString ApplicationBundle::resourcesPath() const
{
    const QString installed = installedPath(QStringLiteral("share/lanternwick"));
    return QFileInfo(installed).isDir() ? installed : QStringLiteral(LW_BUILD_RESOURCES_DIR);
}

QString ApplicationBundle::pathForResource(const QString& name) const
{
    const QString path = resourcesPath() + QLatin1Char('/') + name;
    return QFileInfo::exists(path) ? path : QString();
}

QString ApplicationBundle::keelhouseProgramPath() const
{
    const QString installed = installedPath(QStringLiteral("libexec/lanternwick/keelhouse"));
    if (QFileInfo(installed).isExecutable())
        return installed;
    const QString beside = m_executableDirectory + QStringLiteral("/keelhouse");
    return QFileInfo(beside).isExecutable() ? beside : QStringLiteral(LW_BUILD_PROGRAMS_DIR "/keelhouse");
}

QString ApplicationBundle::cleanApplicationName(const QString& applicationName)
{
    static const QRegularExpression leadingName(QStringLiteral("([^0-9]+)[0-9]*"));
    const QRegularExpressionMatch match = leadingName.match(applicationName);
    QString name = match.hasMatch() ? match.captured(1) : applicationName;
    return name.remove(QLatin1Char(' '));
}
