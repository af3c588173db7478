#include "engine/ChainRun.h"

namespace {

std::atomic<quint64> lastSerial { 0 };

} // namespace

ChainRun::ChainRun(std::shared_ptr<ContextBatchInfo> batchInfo, QList<SystemItemData> systemItems)
    : m_batchInfo(std::move(batchInfo))
    , m_systemItems(std::move(systemItems))
    , m_serial(++lastSerial)
{
}

std::optional<bool> ChainRun::cachedApplicationItemAvailability() const
{
    std::lock_guard lock(m_mutex);
    return m_itemAvailability;
}

void ChainRun::setCachedApplicationItemAvailability(bool available)
{
    std::lock_guard lock(m_mutex);
    m_itemAvailability = available;
}

std::optional<bool> ChainRun::cachedFirstExecutionInLogin() const
{
    std::lock_guard lock(m_mutex);
    return m_firstExecutionInLogin;
}

void ChainRun::setCachedFirstExecutionInLogin(bool first)
{
    std::lock_guard lock(m_mutex);
    m_firstExecutionInLogin = first;
}

QString ChainRun::logDescription() const
{
    return QStringLiteral("chain run %1").arg(m_serial);
}
