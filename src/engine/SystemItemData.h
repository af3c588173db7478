#pragma once
// The display record of one entry of the session's login items list, as the
// views hand it to the create and delete states. It answers like a model
// file item, so the views treat both alike.
#include <QString>
#include <QVariantMap>

class DBFileItem;

class SystemItemData {
public:
    SystemItemData() = default;
    // From a UI item dictionary (MHItemDataKeys "path", "name", "description", "icon").
    explicit SystemItemData(const QVariantMap& data);
    // Copies what a model file item shows; must run on the main thread.
    explicit SystemItemData(const DBFileItem& item);

    QString itemNiceDisplayName() const { return m_niceDisplayName; }
    QString itemNiceDescription() const { return m_niceDescription; }
    QString itemPath() const { return m_path; }
    QString itemIconName() const { return m_iconName; }

    // A file item the user set to "Disabled": handed back switched off.
    bool isSwitchedOff() const { return m_isSwitchedOff; }

    // The create or delete request record (MHKeelhouseKeys "path", "name"
    // and "disabled"), leaving out what is empty.
    QVariantMap requestRecord() const;

private:
    QString m_niceDisplayName;
    QString m_niceDescription;
    QString m_path;
    QString m_iconName;
    bool m_isSwitchedOff = false;
};
