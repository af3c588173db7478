#pragma once
// The processes of one user, read from a /proc tree (a fake one in tests).
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <sys/types.h>

class ProcessTable {
public:
    struct Process {
        qint64 pid = 0;
        // Clock ticks after boot; with the pid it tells a process from a later
        // one that reuses its number.
        qint64 startTicks = 0;
        double ageSeconds = 0;
        // Canonical; processes whose executable cannot be read are not listed.
        QString executablePath;
    };

    ProcessTable(const QString& procRoot, uid_t uid);

    QList<Process> processes() const;
    // The user's processes that run one of the files, whatever path names
    // them. Every other process costs one look at its executable.
    QList<Process> processesRunning(const QStringList& executables) const;
    // The user's process with the pid, when it runs.
    std::optional<Process> process(qint64 pid) const;
    // -1 when there is no such process.
    qint64 startTicks(qint64 pid) const;

private:
    std::optional<Process> readProcess(qint64 pid, double uptime, double ticksPerSecond) const;
    bool belongsToUser(const QString& processFolder) const;
    double uptimeSeconds() const;

    QString m_procRoot;
    uid_t m_uid;
};
