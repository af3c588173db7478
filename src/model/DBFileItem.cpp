#include "model/DBFileItem.h"

#include "foundation/Log.h"
#include "model/ExecutionValidationParameters.h"
#include "model/SystemItemHelping.h"

#include <QFileInfo>
#include <mutex>

namespace {

std::mutex gSharedHelpersMutex;
std::shared_ptr<SystemItemHelping> gSharedHelpers;

} // namespace

void DBFileItem::setSharedSystemItemHelpers(std::shared_ptr<SystemItemHelping> helpers)
{
    std::lock_guard lock(gSharedHelpersMutex);
    gSharedHelpers = std::move(helpers);
}

std::shared_ptr<SystemItemHelping> DBFileItem::systemItemHelpers() const
{
    if (!m_systemItemHelpers) {
        std::lock_guard lock(gSharedHelpersMutex);
        m_systemItemHelpers = gSharedHelpers;
    }
    if (!m_systemItemHelpers && !m_reportedMissingHelpers) {
        m_reportedMissingHelpers = true;
        LOG_ERROR("No system item helpers for %1", itemPath());
    }
    return m_systemItemHelpers;
}

void DBFileItem::setSystemItemHelpers(std::shared_ptr<SystemItemHelping> helpers)
{
    m_systemItemHelpers = std::move(helpers);
}

void DBFileItem::setFileFacts(const FileFacts& facts)
{
    m_niceDisplayName = facts.niceDisplayName;
    m_niceDescription = facts.niceDescription;
    m_iconName = facts.iconName;
}

// Without helpers nothing is cached, so that the real answer comes once they
// are there; until then the file name and path stand in.
QString DBFileItem::cached(std::optional<QString>& cache, const char* what,
                           QString (SystemItemHelping::*ask)(const QString&) const) const
{
    if (cache)
        return *cache;
    const std::shared_ptr<SystemItemHelping> helpers = systemItemHelpers();
    if (!helpers)
        return {};
    LOG_DEBUG("Initializing item %1 for %2 due to first access...", what, itemPath());
    cache = ((*helpers).*ask)(itemPath());
    return *cache;
}

QString DBFileItem::itemNiceDisplayName() const
{
    const QString name = cached(m_niceDisplayName, "nice display name", &SystemItemHelping::niceDisplayNameForItemAtPath);
    return m_niceDisplayName ? name : QFileInfo(itemPath()).fileName();
}

QString DBFileItem::itemNiceDescription() const
{
    const QString description = cached(m_niceDescription, "nice description", &SystemItemHelping::niceDescriptionForItemAtPath);
    return m_niceDescription ? description : itemPath();
}

QString DBFileItem::itemIconName() const
{
    return cached(m_iconName, "icon image", &SystemItemHelping::iconNameForItemAtPath);
}

bool DBFileItem::itemIsMissing() const
{
    const std::shared_ptr<SystemItemHelping> helpers = systemItemHelpers();
    // Unknown counts as missing: an item that cannot be checked is not opened.
    return helpers ? helpers->isMissingItemAtPath(itemPath()) : true;
}

bool DBFileItem::isExecutionAllowedForParameters(ExecutionValidationParameters& parameters)
{
    if (parameters.isFileItemMissing(*this) || itemStartupModeValue() == ItemStartupModeDisabled)
        return recordExecutionStatus(LastExecutionStatusPreventedByItem, parameters);
    return DBLoginItem::isExecutionAllowedForParameters(parameters);
}
