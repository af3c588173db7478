#pragma once
#include "platform/SystemTimesProvider.h"

#include <mutex>

class FakeSystemTimesProvider : public SystemTimesProvider {
public:
    void setBootTime(const QDateTime& time)
    {
        std::lock_guard lock(m_mutex);
        m_bootTime = time;
    }
    void setBootID(const QString& id)
    {
        std::lock_guard lock(m_mutex);
        m_bootID = id;
    }
    void setLoginTime(const QDateTime& time)
    {
        std::lock_guard lock(m_mutex);
        m_loginTime = time;
    }
    void setLoginSessionID(const QString& id)
    {
        std::lock_guard lock(m_mutex);
        m_loginSessionID = id;
    }
    void setTimeSinceStartup(double seconds)
    {
        std::lock_guard lock(m_mutex);
        m_timeSinceStartup = seconds;
    }

    QDateTime bootTime() const override
    {
        std::lock_guard lock(m_mutex);
        return m_bootTime;
    }
    QString bootID() const override
    {
        std::lock_guard lock(m_mutex);
        return m_bootID;
    }
    QDateTime loginTime() const override
    {
        std::lock_guard lock(m_mutex);
        return m_loginTime;
    }
    QString loginSessionID() const override
    {
        std::lock_guard lock(m_mutex);
        return m_loginSessionID;
    }
    double timeSinceStartup() const override
    {
        std::lock_guard lock(m_mutex);
        return m_timeSinceStartup;
    }

private:
    mutable std::mutex m_mutex;
    QDateTime m_bootTime;
    QString m_bootID;
    QDateTime m_loginTime;
    QString m_loginSessionID;
    double m_timeSinceStartup = -1;
};
