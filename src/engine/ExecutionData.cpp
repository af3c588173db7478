#include "engine/ExecutionData.h"

#include "model/DBLoginItem.h"
#include "model/ExecutionValidationParameters.h"
#include "model/ObjectContext.h"

ExecutionData::ExecutionData(std::shared_ptr<ExecutionValidationParameters> parameters)
    : m_executionParameters(std::move(parameters))
{
}

ExecutionData::~ExecutionData() = default;

void ExecutionData::setSnapshot(std::unique_ptr<ObjectContext> copy, const QList<DBLoginItem*>& items, quint64 changeCount)
{
    m_snapshotItems.clear();
    m_liveIDs.clear();
    for (qsizetype index = 0; index < items.size() && index < m_availableItemIDs.size(); ++index) {
        m_snapshotItems.insert(m_availableItemIDs[index], items[index]);
        m_liveIDs.insert(items[index], m_availableItemIDs[index]);
    }
    m_snapshot = std::move(copy);
    m_snapshotChangeCount = changeCount;
}

ObjectID ExecutionData::liveIDOfItem(const DBLoginItem* item) const
{
    const auto found = m_liveIDs.constFind(item);
    return found != m_liveIDs.constEnd() ? *found : item->objectID();
}
