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
// Children are looked at on the main loop whenever one of them ends
// (SIGCHLD), whatever started them.
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
    // Reaps the adopted children that ended.
    void reapEndedOrphans();

private:
    OrphanReaper();
    // Our children that are neither launches nor in our own session; with
    // whether each has ended.
    QList<std::pair<qint64, bool>> orphans();

    std::mutex m_mutex;
    QSet<qint64> m_launches;
    int m_launching = 0;
    // An orphan ended while a launch was being made.
    bool m_reapDeferred = false;
    const qint64 m_ownSession;
};
