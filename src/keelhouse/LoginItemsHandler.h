#pragma once
// The only code that reads or changes the session's login items list. The
// service makes one per request; the application keeps one to watch the list.
#include "keelhouse/LoginItemsList.h"
#include "keelhouse/SystemItemsHandling.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <QVariantList>
#include <QVariantMap>
#include <functional>
#include <memory>

class LoginItemsHandler : public QObject, public SystemItemsHandling {
    Q_OBJECT

public:
    using EnumerationBlock = std::function<void(const QVariantMap& item, qsizetype index, bool& stop)>;

    explicit LoginItemsHandler(std::unique_ptr<LoginItemsList> list, QObject* parent = nullptr);
    ~LoginItemsHandler() override;

    // Over this session's autostart folders, judged for currentDesktop (by
    // default this process's); null when the list cannot be made.
    static std::unique_ptr<LoginItemsHandler> create(const std::optional<QString>& currentDesktop = std::nullopt);

    double itemsChangedNotificationDelay() const { return m_itemsChangedNotificationDelay; }
    void setItemsChangedNotificationDelay(double seconds) { m_itemsChangedNotificationDelay = seconds; }
    bool isChangeNotificationEnabled() const { return m_changeWatcher != nullptr; }
    void enableChangeNotifications(bool enabled) override;

    // The failure of the last resolve or removal.
    quint32 lastErrorCode() const { return m_lastErrorCode; }
    QString lastErrorReason() const { return m_lastErrorReason; }

    // System item records (MHKeelhouseKeys) of a snapshot of the list, in order.
    void enumerateItemsWithBlock(const EnumerationBlock& block);
    bool addItem(const QVariantMap& item);
    // An entry removed because the item at startedBy starts its program is
    // kept for that item first.
    bool removeItem(const QVariantMap& item, const QString& startedBy = {});

    QVariantMap itemDataFromPath(const QString& path) const;
    // Nothing for the item kinds that have no file; an item the user set not
    // to start is handed back switched off.
    std::optional<QVariantMap> itemDataFromServerData(const QVariantMap& serverItem) const;
    // The entry of the last snapshot stands for the item at path: the same
    // path as written, or the bare program of an entry that runs that program
    // alone (how earlier versions stored such an item).
    bool isEntryForPath(const QVariantMap& systemItem, const QString& path) const;
    // Some entry of the last snapshot, or one added since, stands for the
    // item at path; the same answer as isEntryForPath over them all, at the
    // cost of one lookup.
    bool hasEntryForPath(const QString& path) const;
    // Why an entry cannot be made for path (not absolute, or holding a
    // control character); empty when it can.
    static QString refusalForPath(const QString& path);
    // An item data dictionary stands for a system item when both name the same file.
    bool isItemFromServer(const QVariantMap& serverItem, const QVariantMap& systemItem) const;
    bool isItemContainedIn(const QVariantMap& systemItem, const QVariantList& serverItems) const;
    // The path of the first item data dictionary that stands for the system
    // item; empty when none does.
    QString pathOfItemFor(const QVariantMap& systemItem, const QVariantList& serverItems) const;
    // -1 when no item data dictionary stands for the system item.
    qsizetype indexOfItem(const QVariantMap& systemItem, const QVariantList& serverItems) const;

    // The application's own entry: its autostart file, or an entry that runs
    // the application (set with setLanternwickPath).
    bool isLanternwick(const QVariantMap& systemItem) const;
    void setLanternwickPath(const QString& path) { m_lanternwickPath = path; }

    static bool isError(const QVariantMap& systemItem);
    static QString errorStringForError(quint32 code);

    void postItemsChangedNotification();
    // Every change of the list goes through here; a burst gives one notification.
    void listDidChange();

private:
    void setLastError(int code);

    std::unique_ptr<LoginItemsList> m_list;
    double m_itemsChangedNotificationDelay = 0.1;
    quint32 m_lastErrorCode = 0;
    QString m_lastErrorReason;
    QString m_lanternwickPath;
    // ref -> program of the entries of the last snapshot, and of those whose
    // command is their program alone.
    QHash<QString, QString> m_programs;
    QHash<QString, QString> m_plainPrograms;
    // The paths (as written) of the entries of the last snapshot, their
    // plain programs, and the paths of the entries added since.
    QSet<QString> m_listedPaths;
    std::unique_ptr<QFileSystemWatcher> m_changeWatcher;
    QTimer m_changeTimer;
};
