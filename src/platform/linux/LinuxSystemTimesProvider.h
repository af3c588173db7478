#pragma once
// Boot time from the kernel's "btime" line of /proc/stat, login time from
// logind's session of XDG_SESSION_ID, else from the utmp login record of this
// very session, time since start-up from CLOCK_BOOTTIME.
//
// The boot time is not worked out as "now minus a monotonic clock": the usual
// monotonic clocks stop while the machine sleeps, so that difference moves
// forward with every sleep and a wake would look like a new boot.
#include "platform/SystemTimesProvider.h"
#include "platform/linux/DBusServiceClient.h"

#include <QByteArray>
#include <QString>
#include <optional>

class LinuxSystemTimesProvider : public SystemTimesProvider {
public:
    static inline const QString LogindService = QStringLiteral("org.freedesktop.login1");

    // procRoot, utmpPath and logind point elsewhere in tests; an empty
    // userName means the user this process runs as.
    explicit LinuxSystemTimesProvider(QString procRoot = QStringLiteral("/proc"), QString utmpPath = {},
                                      QString userName = {}, QDBusConnection bus = QDBusConnection::systemBus(),
                                      QString logindService = LogindService);

    QDateTime bootTime() const override;
    QString bootID() const override;
    QDateTime loginTime() const override;
    QString loginSessionID() const override;
    double timeSinceStartup() const override;

    // Seconds since the epoch of the "btime" line; nothing when the text has
    // no such line with a plausible number.
    static std::optional<qint64> bootTimeFromProcStat(const QByteArray& contents);

private:
    static QString currentUserName();
    QDateTime sessionStartFromLogind() const;
    // The latest login of this boot on this session's display or console, or
    // of a process this one descends from; never merely some login of the
    // user: another login still open (a console, ssh) is another session;
    // never a terminal emulator's record, which a start from that terminal
    // would take for a new login.
    QDateTime loginTimeFromUtmp() const;
    // X display managers record the display (":0") as the line or the host.
    static QByteArray sessionDisplay();
    // The display and console lines this session is known by.
    static QList<QByteArray> sessionLines();
    // A pseudo-terminal's line ("pts/3"): a terminal window's, or ssh's.
    static bool isTerminalEmulatorLine(const QByteArray& line);
    QList<qint64> ancestorPids() const;

    QString m_procRoot;
    QString m_utmpPath;
    QString m_userName;
    DBusServiceClient m_logind;
};
