#pragma once
// The applications of the desktop entries a run is about to start, read
// ahead on a queue of its own, so that a step has only to launch. One is
// taken once, and only while its entry is as it was when read; an entry read
// as not startable, or not read yet, is read again by the one who opens it.
#include "platform/linux/FileState.h"
#include "platform/linux/GioPtr.h"

#include <QStringList>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>

class DispatchQueue;

class PreparedApplications {
public:
    // The entry's application; null when it cannot be started.
    using Reader = std::function<GioPtr<GAppInfo>(const QString& entryPath)>;

    explicit PreparedApplications(Reader reader);
    // Ends the reading after the entry it reads.
    ~PreparedApplications();
    PreparedApplications(const PreparedApplications&) = delete;
    PreparedApplications& operator=(const PreparedApplications&) = delete;

    // The entries to come, written, in the order they come; what was
    // prepared before and not taken is dropped.
    void prepare(const QStringList& entryPaths);
    // Null when there is none to take; waits for a read under way.
    GioPtr<GAppInfo> take(const QString& entryPath);

private:
    struct Prepared {
        FileState state;
        GioPtr<GAppInfo> application;
    };

    void readNext(quint64 generation);

    const Reader m_reader;
    std::mutex m_mutex;
    std::condition_variable m_readDone;
    // Each prepare() begins a new generation; the reading of an older one stops.
    quint64 m_generation = 0;
    QStringList m_toRead;
    QString m_reading;
    std::unordered_map<QString, Prepared> m_prepared;
    // Last, so that its thread ends before what its tasks use goes.
    std::unique_ptr<DispatchQueue> m_queue;
};
