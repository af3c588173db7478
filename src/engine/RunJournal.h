#pragma once
// What the runs of one login started, kept in the state folder so that a
// start after a kill or a crash in that login knows it: the run after the
// program's start goes on with what it had not started, and every run knows
// the processes earlier ones started, whatever those run now.
//
// A file of lines, each written whole by one append:
//   login <key>                        the login it belongs to; another login starts it afresh
//   run                                the run after a start of the program began (again
//                                      when a start goes on with it)
//   item <pid> <start ticks> <path> .  an item was started (the path percent-encoded)
//   delay <sort index> .               a delay item of that run was waited out
//   done                               that run ended
// Each write begins a line of its own, and a line cut short (by a power cut)
// lacks its end, so it is ignored and never joined to the next. Nothing is synced: the journal serves
// the same login of the same boot only, and what a killed process wrote is in
// the system's cache for the next start; a power cut ends the login as well.
#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <mutex>

class RunJournal {
public:
    struct Launch {
        // Cleaned, as written.
        QString path;
        // 0 when the process is unknown (a launch that gave none).
        qint64 pid = 0;
        qint64 startTicks = -1;
    };

    explicit RunJournal(QString path);
    ~RunJournal();

    // Whether this login's run after a start began and was cut short.
    bool hasUnfinishedLaunchRun(const QString& loginKey) const;
    // Makes the journal this login's, dropping another login's, and answers
    // what this login's runs started.
    QList<Launch> openForLogin(const QString& loginKey);
    // What the run cut short had done already.
    struct LaunchRun {
        QSet<QString> startedPaths;
        // The sort indexes of its delay items that were waited out.
        QSet<qint32> waitedDelays;
        // Whether the journal keeps the run: where it cannot be written, a
        // kill would lose what the run has not started yet.
        bool isKept = false;
    };
    // Begins the run after a start of the program; after one that was cut
    // short, goes on with it.
    LaunchRun beginLaunchRun(const QString& loginKey);
    void recordStartedItem(const Launch& launch);
    void recordWaitedDelay(qint32 sortIndex);
    void endLaunchRun();

private:
    struct Contents {
        QString loginKey;
        bool hasUnfinishedRun = false;
        // Of the last run after a start.
        LaunchRun lastRun;
        QList<Launch> launches;
    };

    Contents read() const;
    // One write of the whole line, at the end of the file. The writes answer
    // whether they reached the file.
    bool append(const QByteArray& line) const;
    void startAfresh(const QString& loginKey) const;
    // Opens with O_WRONLY | O_CREAT | flags, and writes bytes in one write.
    bool write(int flags, const QByteArray& bytes) const;
    void closeRun() const;

    const QString m_path;
    mutable std::mutex m_mutex;
    // Open from the start of the run after a start of the program to its
    // end, for its appends: a step opens no file. -1 outside such a run.
    mutable int m_runDescriptor = -1;
};
