#include "platform/linux/PreparedApplications.h"

#include "foundation/DispatchQueue.h"

#include <QFile>

PreparedApplications::PreparedApplications(Reader reader)
    : m_reader(std::move(reader))
{
}

PreparedApplications::~PreparedApplications()
{
    {
        const std::lock_guard lock(m_mutex);
        ++m_generation;
        m_toRead.clear();
    }
    m_queue.reset();
}

void PreparedApplications::prepare(const QStringList& entryPaths)
{
    quint64 generation = 0;
    {
        const std::lock_guard lock(m_mutex);
        generation = ++m_generation;
        m_toRead = entryPaths;
        m_prepared.clear();
    }
    if (entryPaths.isEmpty())
        return;
    if (!m_queue)
        m_queue = std::make_unique<DispatchQueue>(QStringLiteral("PreparedApplications"));
    m_queue->async([this, generation] { readNext(generation); });
}

void PreparedApplications::readNext(quint64 generation)
{
    for (;;) {
        QString entryPath;
        {
            const std::lock_guard lock(m_mutex);
            if (generation != m_generation || m_toRead.isEmpty())
                return;
            entryPath = m_toRead.takeFirst();
            m_reading = entryPath;
        }
        // Looked at before it is read: a change while it is read shows when it is taken.
        FileState state = FileState::of(QFile::encodeName(entryPath));
        GioPtr<GAppInfo> application = m_reader(entryPath);
        {
            const std::lock_guard lock(m_mutex);
            m_reading.clear();
            if (generation == m_generation && application)
                m_prepared.insert_or_assign(entryPath, Prepared { state, std::move(application) });
        }
        m_readDone.notify_all();
    }
}

GioPtr<GAppInfo> PreparedApplications::take(const QString& entryPath)
{
    Prepared prepared;
    {
        std::unique_lock lock(m_mutex);
        m_readDone.wait(lock, [&] { return m_reading != entryPath; });
        // Not read yet: its opener reads it now, and the queue need not.
        m_toRead.removeOne(entryPath);
        auto found = m_prepared.find(entryPath);
        if (found == m_prepared.end())
            return nullptr;
        prepared = std::move(found->second);
        m_prepared.erase(found);
    }
    if (FileState::of(QFile::encodeName(entryPath)) != prepared.state)
        return nullptr;
    return std::move(prepared.application);
}
