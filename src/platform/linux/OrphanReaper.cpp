#include "platform/linux/OrphanReaper.h"

#include "foundation/Log.h"

#include <QDir>
#include <cerrno>
#include <cstring>
#include <optional>
#include <QFile>
#include <glib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// How long an adopted child that ended may wait to be reaped.
constexpr guint kSweepSeconds = 2;

struct ChildState {
    qint64 session = 0;
    bool hasEnded = false;
};

std::optional<ChildState> childState(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray stat = file.readAll();
    // State, parent, group and session follow the name's last parenthesis.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 1).simplified().split(' ');
    if (fields.size() < 4)
        return std::nullopt;
    return ChildState { fields[3].toLongLong(), fields[0] == "Z" };
}

// Our children, whichever of our threads (or the main one only) started or adopted them.
QList<qint64> children(bool mainThreadOnly)
{
    QList<qint64> pids;
    const QString tasks = QStringLiteral("/proc/self/task");
    const QStringList threads = mainThreadOnly ? QStringList { QString::number(getpid()) }
                                               : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& task : threads) {
        QFile file(tasks + QLatin1Char('/') + task + QStringLiteral("/children"));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& pid : file.readAll().simplified().split(' ')) {
            if (const qint64 number = pid.toLongLong(); number > 0)
                pids.append(number);
        }
    }
    return pids;
}

} // namespace

OrphanReaper& OrphanReaper::shared()
{
    static OrphanReaper reaper;
    return reaper;
}

OrphanReaper::OrphanReaper()
    : m_ownSession(getsid(0))
{
    if (prctl(PR_SET_CHILD_SUBREAPER, 1) != 0)
        LOG_WARN("Programs that detach from their launcher are not followed: %1", QString::fromLocal8Bit(strerror(errno)));
}

void OrphanReaper::beginLaunching()
{
    const std::lock_guard lock(m_mutex);
    ++m_launching;
}

void OrphanReaper::endLaunching()
{
    const std::lock_guard lock(m_mutex);
    --m_launching;
}

void OrphanReaper::addLaunch(qint64 pid)
{
    const std::lock_guard lock(m_mutex);
    m_launches.insert(pid);
    scheduleSweeps();
}

void OrphanReaper::removeLaunch(qint64 pid)
{
    const std::lock_guard lock(m_mutex);
    m_launches.remove(pid);
}

void OrphanReaper::scheduleSweeps()
{
    if (m_sweepsScheduled)
        return;
    m_sweepsScheduled = true;
    g_timeout_add_seconds(kSweepSeconds, [](gpointer) -> gboolean {
        OrphanReaper& reaper = shared();
        const bool goOn = reaper.reapEndedOrphans();
        const std::lock_guard lock(reaper.m_mutex);
        reaper.m_sweepsScheduled = goOn || !reaper.m_launches.isEmpty();
        return reaper.m_sweepsScheduled ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
    }, nullptr);
}

QList<std::pair<qint64, bool>> OrphanReaper::orphans(bool mainThreadOnly)
{
    QList<std::pair<qint64, bool>> found;
    for (const qint64 pid : children(mainThreadOnly)) {
        {
            const std::lock_guard lock(m_mutex);
            if (m_launches.contains(pid))
                continue;
        }
        const std::optional<ChildState> state = childState(pid);
        if (state && state->session != m_ownSession)
            found.append({ pid, state->hasEnded });
    }
    return found;
}

QList<qint64> OrphanReaper::adoptedChildren()
{
    QList<qint64> running;
    for (const auto& [pid, hasEnded] : orphans(true)) {
        if (!hasEnded)
            running.append(pid);
    }
    return running;
}

bool OrphanReaper::reapEndedOrphans()
{
    bool hasOrphans = false;
    for (const auto& [pid, hasEnded] : orphans(false)) {
        hasOrphans = true;
        if (!hasEnded)
            continue;
        // Judged again just before: a launch begun since the children were
        // listed may be this very child, which GLib is to wait for.
        const std::lock_guard lock(m_mutex);
        if (m_launching > 0 || m_launches.contains(pid))
            continue;
        siginfo_t info {};
        waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG);
    }
    return hasOrphans;
}
