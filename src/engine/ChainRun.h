#pragma once
// One run of one chain: what belongs to that run and to no other, so that a
// chain started later never changes it. Its cancel flags are set once and
// never cleared: a cancelled run stays cancelled to its end, whatever chains
// start meanwhile.
#include "engine/ContextBatchInfo.h"
#include "engine/SystemItemData.h"

#include <QString>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

class ChainRun {
public:
    // batchInfo is null for the chains that do not run items; systemItems
    // are the entries a chain that creates or deletes them works on.
    explicit ChainRun(std::shared_ptr<ContextBatchInfo> batchInfo, QList<SystemItemData> systemItems = {});
    ChainRun(const ChainRun&) = delete;
    ChainRun& operator=(const ChainRun&) = delete;

    const std::shared_ptr<ContextBatchInfo>& batchInfo() const { return m_batchInfo; }
    const QList<SystemItemData>& systemItems() const { return m_systemItems; }
    // Tells runs apart in the log.
    quint64 serial() const { return m_serial; }

    // Stops the countdown before the run and the run itself; the auto close
    // of the same run sees it too, so a cancelled run never quits the program.
    void cancelExecution() { m_executionCancelled = true; }
    bool isExecutionCancelled() const { return m_executionCancelled; }
    // Stops only the auto close: the items still run.
    void cancelAutoClose() { m_autoCloseCancelled = true; }
    bool isAutoCloseCancelled() const { return m_autoCloseCancelled; }

    // Set by the countdown before the run when it really counted down, so
    // that the run closes what the countdown opened.
    bool wasDelayBeforeExecutionIssued() const { return m_delayIssued; }
    void setWasDelayBeforeExecutionIssued(bool value) { m_delayIssued = value; }

    // Whether the database had an application item, asked once per run.
    std::optional<bool> cachedApplicationItemAvailability() const;
    void setCachedApplicationItemAvailability(bool available);

    // Whether the run is the first of its login (or goes on with one that was
    // cut short), decided once: the run records its login as handled when it
    // begins, and its later states must not judge again.
    std::optional<bool> cachedFirstExecutionInLogin() const;
    void setCachedFirstExecutionInLogin(bool first);

    QString logDescription() const;

private:
    const std::shared_ptr<ContextBatchInfo> m_batchInfo;
    const QList<SystemItemData> m_systemItems;
    const quint64 m_serial;
    std::atomic<bool> m_executionCancelled { false };
    std::atomic<bool> m_autoCloseCancelled { false };
    std::atomic<bool> m_delayIssued { false };
    mutable std::mutex m_mutex;
    std::optional<bool> m_itemAvailability;
    std::optional<bool> m_firstExecutionInLogin;
};
