#pragma once
// An application or document opened at login.
#include "model/DBLoginItem.h"

#include <memory>
#include <optional>

class SystemItemHelping;

class DBFileItem : public DBLoginItem {
    LW_ENTITY(DBFileItem, DBLoginItem, "FileItem")

    LW_STRING_ATTRIBUTE(itemPath, ItemPath)
    LW_INT32_ATTRIBUTE(itemStartupMode, ItemStartupMode)

    LoginItemType loginItemType() const override { return LoginItemTypeFile; }

    // Filled from the path on first access and then kept, also when the path
    // changes; the views rebuild items they need to show afresh.
    QString itemNiceDisplayName() const override;
    QString itemNiceDescription() const override;
    QString itemIconName() const;
    // Asked anew on every call; the rules ask once per judging pass
    // (ExecutionValidationParameters::isFileItemMissing).
    bool itemIsMissing() const;

    // A missing or disabled item never runs; its conditions and neighbours are not asked.
    bool isExecutionAllowedForParameters(ExecutionValidationParameters& parameters) override;

    // What the item has read of its file so far, for a copy of the item to
    // start from rather than read the file again.
    struct FileFacts {
        std::optional<QString> niceDisplayName;
        std::optional<QString> niceDescription;
        std::optional<QString> iconName;
    };
    FileFacts fileFacts() const { return { m_niceDisplayName, m_niceDescription, m_iconName }; }
    void setFileFacts(const FileFacts& facts);

    // Without one set, the first access takes the process-wide helpers.
    std::shared_ptr<SystemItemHelping> systemItemHelpers() const;
    void setSystemItemHelpers(std::shared_ptr<SystemItemHelping> helpers);
    // Registered once by the shell.
    static void setSharedSystemItemHelpers(std::shared_ptr<SystemItemHelping> helpers);

private:
    QString cached(std::optional<QString>& cache, const char* what, QString (SystemItemHelping::*ask)(const QString&) const) const;

    mutable std::shared_ptr<SystemItemHelping> m_systemItemHelpers;
    mutable std::optional<QString> m_niceDisplayName;
    mutable std::optional<QString> m_niceDescription;
    mutable std::optional<QString> m_iconName;
    mutable bool m_reportedMissingHelpers = false;
};
