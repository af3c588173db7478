#include "shell/ApplicationBundle.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

ApplicationBundle::ApplicationBundle(QString executableDirectory)
    : m_executableDirectory(std::move(executableDirectory))
{
}

ApplicationBundle ApplicationBundle::current()
{
    // What QCoreApplication would tell, also before there is one.
    return ApplicationBundle(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
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
    return helperProgramPath(QStringLiteral("keelhouse"));
}

QString ApplicationBundle::launcherProgramPath() const
{
    return helperProgramPath(QStringLiteral("lanternwick-launch"));
}

QString ApplicationBundle::helperProgramPath(const QString& name) const
{
    const QString installed = installedPath(QStringLiteral("libexec/lanternwick/") + name);
    if (QFileInfo(installed).isExecutable())
        return installed;
    const QString beside = m_executableDirectory + QLatin1Char('/') + name;
    return QFileInfo(beside).isExecutable() ? beside : QStringLiteral(LW_BUILD_PROGRAMS_DIR "/") + name;
}

QString ApplicationBundle::cleanApplicationName(const QString& applicationName)
{
    static const QRegularExpression leadingName(QStringLiteral("([^0-9]+)[0-9]*"));
    const QRegularExpressionMatch match = leadingName.match(applicationName);
    QString name = match.hasMatch() ? match.captured(1) : applicationName;
    return name.remove(QLatin1Char(' '));
}
