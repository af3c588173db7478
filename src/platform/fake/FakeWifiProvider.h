#pragma once
#include "platform/WifiProvider.h"

#include <atomic>
#include <mutex>

class FakeWifiProvider : public WifiProvider {
public:
    void setNetworks(const QStringList& known, const QStringList& inRange, const QString& current)
    {
        std::lock_guard lock(m_mutex);
        m_known = known;
        m_inRange = inRange;
        m_current = current;
    }
    int scanCount() const { return m_scans; }

    QStringList knownNetworkNames() const override
    {
        std::lock_guard lock(m_mutex);
        return m_known;
    }
    QStringList scanNetworkNames() const override
    {
        ++m_scans;
        std::lock_guard lock(m_mutex);
        return m_inRange;
    }
    QString currentNetworkName() const override
    {
        std::lock_guard lock(m_mutex);
        return m_current;
    }

private:
    mutable std::mutex m_mutex;
    mutable std::atomic<int> m_scans { 0 };
    QStringList m_known;
    QStringList m_inRange;
    QString m_current;
};
