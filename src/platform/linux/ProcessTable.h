#pragma once
// The processes of one user, read from a /proc tree (a fake one in tests).
// The first look that needs every process reads each one once: whose it is,
// what it is and the program it runs. Later looks (refresh()) read only what
// began since: the kernel's last process ID tells which numbers were given
// out, and only those are read; where it cannot be read, or the numbers
// wrapped around, the folder is listed again. A look also reads once more
// what began after the first look, so that a launcher that replaced itself
// with its program is seen as that program; one still in our launcher is
// read again at every look until it runs its program. Of a process this
// program started itself the table is told (addStarted()), and reads only
// what it runs. A process that ended is forgotten when it is next read. A
// table kept for a run therefore costs each step the same, whatever else
// runs. Used by one thread at a time.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMultiHash>
#include <QSet>
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
        // Processor time used so far, user and system, in clock ticks, with
        // that of the children it has collected: a launcher whose work runs
        // in short-lived children is busy too.
        qint64 cpuTicks = 0;
    };

    // A process this program has just started, and what it gave it: the
    // table takes it as it is, without reading it, and reads only what it
    // runs, as it does for anything that began since the first look.
    struct Started {
        qint64 pid = 0;
        qint64 startTicks = -1;
        // The launch's mark (kLaunchMarkVariable).
        QString mark;
        // The desktop entry in its GIO_LAUNCHED_DESKTOP_FILE, with its own pid
        // in GIO_LAUNCHED_DESKTOP_FILE_PID; empty when none.
        QString launchedDesktopFile;
        // The kernel's name for it until its first exec is done: that of the
        // thread that started it.
        QByteArray nameBeforeExec;
    };

    ProcessTable(const QString& procRoot, uid_t uid);

    // Looks again: see above. The first call makes the first look.
    void refresh();

    // The processes known, those that ended since the last listing included.
    QList<qint64> pids() const;
    // The user's process with the pid, as last read; a pid not seen before is read now.
    std::optional<Process> process(qint64 pid) const;
    // Reads the process again now: whether it ended, the time it used.
    std::optional<Process> currentProcess(qint64 pid) const;
    // The start of a process of any user, read alone; -1 when it cannot be read.
    static qint64 startTicks(const QString& procRoot, qint64 pid);
    // The boot clock now, in the clock ticks of start times; -1 for a /proc
    // tree other than the system's.
    static qint64 ticksNow(const QString& procRoot);
    // The start of a child this program started after ticksNow() gave
    // ticksBefore: where the clock is still in that tick, so was the child's
    // start, and nothing need be read.
    static qint64 startTicksOfChild(const QString& procRoot, qint64 pid, qint64 ticksBefore);
    // What this program started (see Started). Ignored for a pid the table
    // knows already, or a table of another user.
    void addStarted(const Started& started);
    // The file the process runs, as the kernel names it; empty when it cannot
    // be read (another user's process, a kernel thread, one that just ended).
    QString executable(qint64 pid) const;
    // Seconds its main thread has waited for a processor since it began (the
    // run-queue wait): a process starved on a loaded machine uses little
    // processor time but is busy all the same. 0 where it cannot be read.
    double runQueueWait(qint64 pid) const;
    // Whether it sleeps for a set time (nanosleep, clock_nanosleep), as the
    // "sleep 3" of a launcher script before its program does: read from the
    // system call it is in, else, where that is closed to us, from the kernel
    // function it waits in.
    bool isInTimedSleep(qint64 pid) const;
    // Its arguments, the program as it was started first.
    QStringList commandLine(qint64 pid) const;
    // The user's processes that run the file.
    QList<qint64> processesRunning(const QString& executable) const;
    // The user's processes launched from the desktop entry: GIO names it in
    // GIO_LAUNCHED_DESKTOP_FILE of their environment, which a wrapper that
    // execs the real program keeps. Only the launched process itself counts
    // (GIO_LAUNCHED_DESKTOP_FILE_PID is its own pid): its descendants inherit
    // the name, and so does what the user later starts from them. The first
    // call of this or of marked() reads every process's environment once;
    // later looks read only those of what began or replaced its program (our
    // launcher's once it runs the program it launches: the launched process
    // itself is known by its pid until then).
    QList<qint64> processesLaunchedFrom(const QString& desktopFile) const;
    // The user's processes that have not ended and carry the mark of our
    // launches (kLaunchMarkVariable), which a launch's whole tree inherits.
    QList<Process> marked(const QString& mark) const;
    // The mark the process carries; empty when none.
    QString markOf(qint64 pid) const;
    // The user's processes of the session that have not ended.
    QList<Process> sessionMembers(qint64 session) const;
    // Seconds since boot at the last look.
    double uptime() const { return m_uptime; }
    double ticksPerSecond() const { return m_ticksPerSecond; }

private:
    struct Entry {
        // Empty for another user's process, or one that ended while it was read.
        std::optional<Process> process;
        QString executable;
        std::optional<QStringList> commandLine;
        // Cleaned; empty when none, or not read.
        QString launchedDesktopFile;
        QString mark;
        // Given by this program (Started), never read.
        bool isEnvironmentKnown = false;
        QByteArray nameBeforeExec;
    };

    // Makes the first look, once.
    void indexAll() const;
    QList<qint64> listPids() const;
    // Lists the folder: reads what is new, forgets what is gone.
    void readListed();
    // The last process ID the kernel gave out; none where it cannot be read.
    std::optional<qint64> readLastPid() const;
    // A thread of another process is none of the table's.
    Entry& readEntry(qint64 pid, bool readAgain) const;
    // The second look at a process that began after the first.
    void readAgain(qint64 pid);
    bool isStillStarting(qint64 pid, const Entry& entry) const;
    void forget(qint64 pid) const;
    // The path of a file of the process's folder.
    QByteArray fileOf(qint64 pid, const char* name) const;
    std::optional<Process> readProcess(qint64 pid) const;
    QString readExecutable(qint64 pid) const;
    // Reads the launch variables of the process's environment once all are asked about.
    void indexEnvironments() const;
    void indexEnvironment(qint64 pid, Entry& entry) const;
    void forgetEnvironment(qint64 pid, Entry& entry) const;
    // Whether the pid is a process (not another's thread) of the user.
    bool isProcessOfUser(qint64 pid) const;
    double readUptime() const;

    QByteArray m_procRoot;
    uid_t m_uid;
    double m_ticksPerSecond;
    mutable double m_uptime;
    mutable bool m_indexed = false;
    mutable std::optional<qint64> m_lastPid;
    mutable QHash<qint64, Entry> m_entries;
    mutable QMultiHash<QString, qint64> m_byExecutable;
    // Asked about at every step of a wait: found without a walk of the table.
    mutable QMultiHash<qint64, qint64> m_bySession;
    mutable bool m_environmentsIndexed = false;
    mutable QMultiHash<QString, qint64> m_byDesktopFile;
    mutable QMultiHash<QString, qint64> m_byMark;
    // What began after the first look, to be read once more.
    mutable QList<qint64> m_readAgain;
    // Processes read before they may have called setsid().
    mutable QSet<qint64> m_sessionUnsettled;
    // The file of our launcher (kLauncherVariable); empty when there is none.
    QString m_launcher;
    // The names the kernel gives a process that runs it.
    QList<QByteArray> m_launcherNames;
    // Processes that still ran our launcher when their environment was due.
    mutable QSet<qint64> m_inLauncher;
};
