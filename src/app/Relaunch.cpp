#include "Relaunch.h"

#include <QCoreApplication>
#include <QProcess>

std::optional<qint64> Relaunch::previousProcess(const QStringList& arguments)
{
    const qsizetype index = arguments.indexOf(argument);
    if (index < 0 || index + 1 >= arguments.size())
        return std::nullopt;
    bool ok = false;
    const qint64 pid = arguments.at(index + 1).toLongLong(&ok);
    return ok && pid > 0 ? std::optional<qint64>(pid) : std::nullopt;
}

bool Relaunch::startNewCopy(QString* reason)
{
    QProcess process;
    process.setProgram(QCoreApplication::applicationFilePath());
    process.setArguments({ argument, QString::number(QCoreApplication::applicationPid()) });
    if (process.startDetached())
        return true;
    *reason = process.errorString();
    return false;
}
