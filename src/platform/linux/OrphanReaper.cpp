#include "platform/linux/OrphanReaper.h"

#include "foundation/Log.h"

#include <QDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <QFile>
#include <glib-unix.h>
#include <glib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace {

// The handler tells the main loop through this pipe that a child ended.
int gChildEndedPipe[2] = { -1, -1 };
// Whoever handled SIGCHLD before us (a library waiting for its own children) still does.
struct sigaction gPreviousChildHandler {};

void onChildEnded(int signal, siginfo_t* info, void* context)
{
    const int savedErrno = errno;
    const char byte = 0;
    // Full when a look is already due.
    [[maybe_unused]] const ssize_t written = ::write(gChildEndedPipe[1], &byte, 1);
    errno = savedErrno;
    if (gPreviousChildHandler.sa_flags & SA_SIGINFO)
        gPreviousChildHandler.sa_sigaction(signal, info, context);
    else if (gPreviousChildHandler.sa_handler != SIG_DFL && gPreviousChildHandler.sa_handler != SIG_IGN)
        gPreviousChildHandler.sa_handler(signal);
}

// On the main loop, from the first launch on.
void watchChildEnds()
{
    if (::pipe2(gChildEndedPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        LOG_WARN("Programs that detach from their launcher are not collected: %1", QString::fromLocal8Bit(strerror(errno)));
        return;
    }
    g_unix_fd_add(gChildEndedPipe[0], G_IO_IN, [](int descriptor, GIOCondition, gpointer) -> gboolean {
        char bytes[64];
        while (::read(descriptor, bytes, sizeof bytes) > 0) {
        }
        OrphanReaper::shared().reapEndedOrphans();
        return G_SOURCE_CONTINUE;
    }, nullptr);
    // Known before ours is in place, so that no signal finds it unset.
    sigaction(SIGCHLD, nullptr, &gPreviousChildHandler);
    struct sigaction action {};
    action.sa_sigaction = &onChildEnded;
    action.sa_flags = SA_SIGINFO | SA_RESTART | SA_NOCLDSTOP;
    sigemptyset(&action.sa_mask);
    sigaction(SIGCHLD, &action, nullptr);
}

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

// Our children, whichever of our threads started or adopted them.
QList<qint64> children()
{
    QList<qint64> pids;
    const QString tasks = QStringLiteral("/proc/self/task");
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
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
    watchChildEnds();
}

void OrphanReaper::beginLaunching()
{
    const std::lock_guard lock(m_mutex);
    ++m_launching;
}

void OrphanReaper::endLaunching()
{
    const std::lock_guard lock(m_mutex);
    if (--m_launching == 0 && std::exchange(m_reapDeferred, false) && gChildEndedPipe[1] >= 0) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t written = ::write(gChildEndedPipe[1], &byte, 1);
    }
}

void OrphanReaper::addLaunch(qint64 pid)
{
    const std::lock_guard lock(m_mutex);
    m_launches.insert(pid);
}

void OrphanReaper::removeLaunch(qint64 pid)
{
    const std::lock_guard lock(m_mutex);
    m_launches.remove(pid);
}

QList<std::pair<qint64, bool>> OrphanReaper::orphans()
{
    QList<std::pair<qint64, bool>> found;
    for (const qint64 pid : children()) {
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

void OrphanReaper::reapEndedOrphans()
{
    for (const auto& [pid, hasEnded] : orphans()) {
        if (!hasEnded)
            continue;
        // Judged again just before: a launch begun since the children were
        // listed may be this very child, which GLib is to wait for. Looked at
        // again once the launch is made.
        const std::lock_guard lock(m_mutex);
        if (m_launching > 0) {
            m_reapDeferred = true;
            continue;
        }
        if (m_launches.contains(pid))
            continue;
        siginfo_t info {};
        waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG);
    }
}
