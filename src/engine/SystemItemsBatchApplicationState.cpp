#include "engine/SystemItemsBatchApplicationState.h"

#include "foundation/Log.h"
#include "foundation/MHKeelhouseKeys.h"
#include "foundation/MHSystemItemsNotifications.h"
#include "platform/CanonicalPath.h"

#include <algorithm>

namespace {

// The service answers with the entry as the list has it, so a request is
// matched by its file, or by its name when it has no file.
bool isSameEntry(const QVariantMap& request, const QVariantMap& reported)
{
    const QString path = request.value(MHKeelhouseKeys::path).toString();
    if (!path.isEmpty())
        return isSamePath(path, reported.value(MHKeelhouseKeys::path).toString());
    const QString name = request.value(MHKeelhouseKeys::name).toString();
    return !name.isEmpty() && name == reported.value(MHKeelhouseKeys::name).toString();
}

bool isReportedIn(const QVariantMap& request, const QVariantList& reported)
{
    return std::any_of(reported.begin(), reported.end(), [&](const QVariant& item) { return isSameEntry(request, item.toMap()); });
}

} // namespace

SystemItemsBatchApplicationState::SystemItemsBatchApplicationState(QString name, Operation operation)
    : SystemItemsApplicationState(std::move(name))
    , m_operation(std::move(operation))
{
}

QVariantMap SystemItemsBatchApplicationState::didEndInfo() const
{
    return { { MHSystemItemsNotifications::items, m_doneItems }, { MHSystemItemsNotifications::failedItems, m_failedItems } };
}

QList<SystemItemData> SystemItemsBatchApplicationState::batchItems() const
{
    const std::shared_ptr<ChainRun> current = run();
    return current ? current->systemItems() : QList<SystemItemData>();
}

void SystemItemsBatchApplicationState::executeState()
{
    const QList<SystemItemData> items = batchItems();
    LOG_DEBUG("Starting %1 of %2 system items...", m_operation.verb, items.size());
    m_requestRecords.clear();
    for (const SystemItemData& item : items)
        m_requestRecords.append(item.requestRecord());
    m_doneItems.clear();
    m_failedItems.clear();
    m_didBegin = false;
    m_currentItemFailed = false;
    startKeelhouseAndListener([this, records = m_requestRecords](KeelhouseInterface& proxy) { sendBatchRequest(proxy, records); });
}

void SystemItemsBatchApplicationState::didBegin()
{
    m_didBegin = true;
    postNotification(m_operation.startNotification);
}

void SystemItemsBatchApplicationState::didBeginItem(const QVariantMap& item)
{
    LOG_VERBOSE("Begin %1 system item %2", m_operation.verb, item.value(MHKeelhouseKeys::path).toString());
    m_currentItemFailed = false;
}

void SystemItemsBatchApplicationState::didFailItem(const QVariantMap& item)
{
    LOG_ERROR("Failed %1 system item %2 %3", m_operation.verb, item.value(MHKeelhouseKeys::path).toString(),
              item.value(MHKeelhouseKeys::reason).toString());
    m_currentItemFailed = true;
    m_failedItems.append(item);
}

void SystemItemsBatchApplicationState::didEndItem(const QVariantMap& item)
{
    if (!m_currentItemFailed)
        m_doneItems.append(item);
    m_currentItemFailed = false;
}

void SystemItemsBatchApplicationState::didEnd()
{
    postNotification(m_operation.endNotification, didEndInfo());
    finishRequest();
}

void SystemItemsBatchApplicationState::requestDidFail(const Error&)
{
    if (!m_didBegin)
        return;
    for (const QVariant& request : std::as_const(m_requestRecords)) {
        const QVariantMap record = request.toMap();
        if (!isReportedIn(record, m_doneItems) && !isReportedIn(record, m_failedItems))
            m_failedItems.append(record);
    }
    postNotification(m_operation.endNotification, didEndInfo());
}
