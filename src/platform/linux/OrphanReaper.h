#pragma once
// Keeps the descendants of our launches known when they detach (setsid and
// an exit of their parent, a double fork): this process becomes the child
// subreaper, so that they become our children instead of init's, and reaps
// them as they end.
//
// GLib and Qt wait for the children they start, each by its own pid; taking
// one of their exit statuses would leave them waiting for a child that no
// longer exists. So only adopted children are reaped, each by its pid
// (waitid on that pid, never on any child): a child is adopted when it is in
// another session than ours (every launch leads a session of its own and
// keeps its descendants out of ours; the helpers Qt and GLib start stay in
// ours) and is not one of the launches themselves, which GLib waits for.
// Children are looked for a few seconds apart while launches or adopted
// children live, on the main loop.
#include <QSet>
#include <mutex>

class OrphanReaper {
public:
    // Makes this process the subreaper; once per process.
    static OrphanReaper& shared();

    // Between the two, a launch is being made whose pid is not known yet:
    // no child is reaped meanwhile.
    void beginLaunching();
    void endLaunching();
    // A launch GLib waits for; forgotten when it has been reaped.
    void addLaunch(qint64 pid);
    void removeLaunch(qint64 pid);
    // The adopted children that still run (the kernel hands orphans to the
    // main thread).
    QList<qint64> adoptedChildren();
    // Reaps the adopted children that ended; answers whether any launch or
    // adopted child is still there to look after.
    bool reapEndedOrphans();

private:
    OrphanReaper();
    void scheduleSweeps();
    // Our children that are neither launches nor in our own session; with
    // whether each has ended.
    QList<std::pair<qint64, bool>> orphans(bool mainThreadOnly);

    std::mutex m_mutex;
    QSet<qint64> m_launches;
    int m_launching = 0;
    bool m_sweepsScheduled = false;
    const qint64 m_ownSession;
};
