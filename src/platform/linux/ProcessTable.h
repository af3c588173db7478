#pragma once
// The processes of one user at one moment, read from a /proc tree (a fake one
// in tests). What a process is and runs is read when first asked and kept, so
// one judging pass reads each process at most once, whatever it asks about.
// Used by one thread at a time.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <sys/types.h>

class ProcessTable {
public:
    struct Process {
        qint64 pid = 0;
        qint64 parentPid = 0;
        // The session: a process we launch leads its own, which its
        // descendants keep even after it ends.
        qint64 session = 0;
        // Clock ticks after boot; with the pid it tells a process from a later
        // one that reuses its number.
        qint64 startTicks = 0;
        double ageSeconds = 0;
        // It ended and runs nothing, but its parent has not yet collected it.
        bool hasEnded = false;
    };

    ProcessTable(const QString& procRoot, uid_t uid);

    QList<qint64> pids() const;
    // The user's process with the pid, when it runs.
    std::optional<Process> process(qint64 pid) const;
    // The file the process runs, as the kernel names it; empty when it cannot
    // be read (another user's process, a kernel thread, one that just ended).
    QString executable(qint64 pid) const;
    // Its arguments, the program as it was started first.
    QStringList commandLine(qint64 pid) const;
    // The user's processes of the session that have not ended.
    QList<Process> sessionMembers(qint64 session) const;

private:
    // The session of the process; -1 when it is gone.
    qint64 sessionOf(qint64 pid) const;
    // The path of a file of the process's folder.
    QByteArray fileOf(qint64 pid, const char* name) const;
    std::optional<Process> readProcess(qint64 pid) const;
    bool belongsToUser(qint64 pid) const;

    QByteArray m_procRoot;
    uid_t m_uid;
    double m_uptime;
    mutable std::optional<QList<qint64>> m_pids;
    mutable QHash<qint64, std::optional<Process>> m_processes;
    mutable QHash<qint64, QString> m_executables;
    mutable QHash<qint64, QStringList> m_commandLines;
};
