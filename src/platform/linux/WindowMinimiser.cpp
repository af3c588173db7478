#include "platform/linux/WindowMinimiser.h"

#include "foundation/Log.h"
#include "platform/linux/ProcessTable.h"
#include "platform/linux/X11Windows.h"

#include <unistd.h>

namespace {

// Often enough that a window is seldom seen before it goes.
constexpr double kPollSeconds = 0.05;

} // namespace

WindowMinimiser::WindowMinimiser(std::shared_ptr<const X11Windows> windows, const QString& procRoot)
    : m_windows(std::move(windows))
    , m_procRoot(procRoot)
    , m_queue(QStringLiteral("WindowMinimiser"))
{
}

void WindowMinimiser::minimiseWindowsOf(qint64 pid, double seconds)
{
    m_queue.async([this, pid, seconds] {
        const bool wasIdle = m_watches.isEmpty();
        m_watches.append({ pid, QDeadlineTimer(static_cast<qint64>(seconds * 1000)) });
        if (wasIdle)
            poll();
    });
}

void WindowMinimiser::poll()
{
    m_watches.removeIf([](const Watch& watch) { return watch.deadline.hasExpired(); });
    if (m_watches.isEmpty()) {
        m_minimised.clear();
        return;
    }
    const ProcessTable table(m_procRoot, getuid());
    for (const X11Windows::Window& window : m_windows->windowsWithOwners()) {
        if (m_minimised.contains(window.id))
            continue;
        const std::optional<ProcessTable::Process> owner = table.process(window.pid);
        if (owner && std::any_of(m_watches.cbegin(), m_watches.cend(), [&](const Watch& watch) { return watch.session == owner->session; })) {
            LOG_VERBOSE("Minimising window %1 of process %2...", window.id, window.pid);
            m_windows->minimise(window.id);
            m_minimised.insert(window.id);
        }
    }
    m_queue.asyncAfter(kPollSeconds, [this] { poll(); });
}
