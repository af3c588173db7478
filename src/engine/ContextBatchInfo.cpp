#include "engine/ContextBatchInfo.h"

namespace {

QString yesNo(bool value)
{
    return value ? QStringLiteral("YES") : QStringLiteral("NO");
}

} // namespace

QString ContextBatchInfo::logDescription() const
{
    return QStringLiteral("batch (after launch %1, after wake %2, on demand %3, auto close scheduled %4, item failed %5)")
        .arg(yesNo(isExecutingAfterLaunch()), yesNo(isExecutingAfterAwakeFromSleep()), yesNo(isExecutingOnDemand()),
             yesNo(isAutoCloseScheduled()), yesNo(didItemExecutionFail()));
}

std::shared_ptr<ContextBatchInfo> ContextBatchInfo::fromUserInfo(const QVariantMap& userInfo)
{
    return userInfo.value(userInfoKey).value<std::shared_ptr<ContextBatchInfo>>();
}
