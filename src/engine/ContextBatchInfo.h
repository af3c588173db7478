#pragma once
// The flags of one chain that runs items (after launch, after wake, on
// demand). One object rides with every state of the chain and in every
// notification they post, under userInfoKey, as a
// std::shared_ptr<ContextBatchInfo>; fromUserInfo() reads it back.
//
// The flags are atomic: the executing state marks a failure on its queue
// while the main thread and the auto-close queue read them.
#include <QMetaType>
#include <QString>
#include <QVariantMap>
#include <atomic>
#include <memory>

class ContextBatchInfo {
public:
    static inline const QString userInfoKey = QStringLiteral("batchInfo");

    ContextBatchInfo() = default;
    ContextBatchInfo(const ContextBatchInfo&) = delete;
    ContextBatchInfo& operator=(const ContextBatchInfo&) = delete;

    bool isExecutingAfterLaunch() const { return m_afterLaunch; }
    void setIsExecutingAfterLaunch(bool value) { m_afterLaunch = value; }
    bool isExecutingAfterAwakeFromSleep() const { return m_afterAwake; }
    void setIsExecutingAfterAwakeFromSleep(bool value) { m_afterAwake = value; }
    bool isExecutingOnDemand() const { return m_onDemand; }
    void setIsExecutingOnDemand(bool value) { m_onDemand = value; }
    bool isAutoCloseScheduled() const { return m_autoCloseScheduled; }
    void setIsAutoCloseScheduled(bool value) { m_autoCloseScheduled = value; }
    bool didItemExecutionFail() const { return m_itemFailed; }
    void setDidItemExecutionFail(bool value) { m_itemFailed = value; }

    QString logDescription() const;

    // The batch info of a notification's user info; null when it has none.
    static std::shared_ptr<ContextBatchInfo> fromUserInfo(const QVariantMap& userInfo);

private:
    std::atomic<bool> m_afterLaunch { false };
    std::atomic<bool> m_afterAwake { false };
    std::atomic<bool> m_onDemand { false };
    std::atomic<bool> m_autoCloseScheduled { false };
    std::atomic<bool> m_itemFailed { false };
};

Q_DECLARE_METATYPE(std::shared_ptr<ContextBatchInfo>)
