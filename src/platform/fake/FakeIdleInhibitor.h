#pragma once
#include "platform/IdleInhibitor.h"

#include <QStringList>
#include <atomic>
#include <mutex>

class FakeIdleInhibitor : public IdleInhibitor {
public:
    void performActivity(const QString& reason, const std::function<void()>& block) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_reasons.append(reason);
        }
        ++m_active;
        block();
        --m_active;
    }

    QStringList reasons() const
    {
        std::lock_guard lock(m_mutex);
        return m_reasons;
    }
    bool isActive() const { return m_active > 0; }

private:
    mutable std::mutex m_mutex;
    QStringList m_reasons;
    std::atomic<int> m_active { 0 };
};
