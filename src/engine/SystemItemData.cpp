#include "engine/SystemItemData.h"

#include "foundation/MHItemDataKeys.h"
#include "foundation/MHKeelhouseKeys.h"
#include "model/DBFileItem.h"

SystemItemData::SystemItemData(const QVariantMap& data)
    : m_niceDisplayName(data.value(MHItemDataKeys::name).toString())
    , m_niceDescription(data.value(MHItemDataKeys::description).toString())
    , m_path(data.value(MHItemDataKeys::path).toString())
    , m_iconName(data.value(MHItemDataKeys::icon).toString())
{
}

SystemItemData::SystemItemData(const DBFileItem& item)
    : m_niceDisplayName(item.itemNiceDisplayName())
    , m_niceDescription(item.itemNiceDescription())
    , m_path(item.itemPath())
    , m_iconName(item.itemIconName())
    , m_isSwitchedOff(item.itemStartupMode() == ItemStartupModeDisabled)
{
}

QVariantMap SystemItemData::requestRecord() const
{
    QVariantMap record;
    if (!m_path.isEmpty())
        record.insert(MHKeelhouseKeys::path, m_path);
    if (!m_niceDisplayName.isEmpty())
        record.insert(MHKeelhouseKeys::name, m_niceDisplayName);
    if (m_isSwitchedOff)
        record.insert(MHKeelhouseKeys::disabled, true);
    return record;
}
