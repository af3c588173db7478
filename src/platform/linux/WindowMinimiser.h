#pragma once
// Minimises the windows a launched program maps, for a while after its
// launch: the most a launcher can do on X11 to open a program hidden. Works
// on a queue of its own, which it ends before it goes.
#include "foundation/DispatchQueue.h"

#include <QDeadlineTimer>
#include <QList>
#include <QSet>
#include <memory>

class X11Windows;

class WindowMinimiser {
public:
    WindowMinimiser(std::shared_ptr<const X11Windows> windows, const QString& procRoot);

    // Minimises every window that the process, or a process of the session it
    // leads, shows within the next seconds.
    void minimiseWindowsOf(qint64 pid, double seconds);

private:
    struct Watch {
        qint64 session = 0;
        QDeadlineTimer deadline;
    };

    void poll();

    const std::shared_ptr<const X11Windows> m_windows;
    const QString m_procRoot;
    // Used on the queue only.
    QList<Watch> m_watches;
    QSet<uint32_t> m_minimised;
    // Last, so that its thread ends before what its tasks use goes.
    DispatchQueue m_queue;
};
