#include "keelhouse/LoginItemsHandler.h"

#include "foundation/Log.h"
#include "foundation/MHItemDataKeys.h"
#include "foundation/MHItemDataValues.h"
#include "foundation/MHKeelhouseKeys.h"
#include "foundation/MHSystemItemsNotifications.h"
#include "foundation/NotificationCenter.h"
#include "keelhouse/XdgAutostartList.h"
#include "platform/CanonicalPath.h"

#include <QDir>
#include <system_error>

LoginItemsHandler::LoginItemsHandler(std::unique_ptr<LoginItemsList> list, QObject* parent)
    : QObject(parent)
    , m_list(std::move(list))
{
    m_changeTimer.setSingleShot(true);
    connect(&m_changeTimer, &QTimer::timeout, this, &LoginItemsHandler::postItemsChangedNotification);
}

LoginItemsHandler::~LoginItemsHandler()
{
    enableChangeNotifications(false);
}

std::unique_ptr<LoginItemsHandler> LoginItemsHandler::create(const std::optional<QString>& currentDesktop)
{
    std::unique_ptr<XdgAutostartList> list = XdgAutostartList::fromEnvironment(currentDesktop);
    if (!list)
        return nullptr;
    return std::make_unique<LoginItemsHandler>(std::move(list));
}

void LoginItemsHandler::enableChangeNotifications(bool enabled)
{
    if (enabled == isChangeNotificationEnabled())
        return;
    if (!enabled) {
        m_changeWatcher.reset();
        m_changeTimer.stop();
        return;
    }
    m_changeWatcher = std::make_unique<QFileSystemWatcher>();
    const QStringList folders = m_list->watchedFolders();
    // A folder that does not exist cannot be watched; the user's own is made.
    if (!folders.isEmpty())
        QDir().mkpath(folders.first());
    for (const QString& folder : folders) {
        if (QFileInfo::exists(folder))
            m_changeWatcher->addPath(folder);
    }
    connect(m_changeWatcher.get(), &QFileSystemWatcher::directoryChanged, this, &LoginItemsHandler::listDidChange);
    LOG_DEBUG("Watching %1 for changes...", m_changeWatcher->directories().join(QStringLiteral(", ")));
}

void LoginItemsHandler::listDidChange()
{
    m_changeTimer.start(std::chrono::milliseconds(qint64(m_itemsChangedNotificationDelay * 1000)));
}

void LoginItemsHandler::postItemsChangedNotification()
{
    NotificationCenter::defaultCenter().post(MHSystemItemsNotifications::MHSystemItemsChangeNotificationDidChange, this);
}

void LoginItemsHandler::setLastError(int code)
{
    m_lastErrorCode = quint32(code);
    m_lastErrorReason = code ? errorStringForError(quint32(code)) : QString();
}

void LoginItemsHandler::enumerateItemsWithBlock(const EnumerationBlock& block)
{
    const QList<LoginItemEntry> entries = m_list->entries();
    m_programs.clear();
    m_plainPrograms.clear();
    m_listedPaths.clear();
    for (qsizetype index = 0; index < entries.size(); ++index) {
        const LoginItemEntry& entry = entries[index];
        m_programs.insert(entry.ref, entry.program);
        m_listedPaths.insert(writtenPath(entry.path));
        if (entry.runsProgramAlone) {
            m_plainPrograms.insert(entry.ref, entry.program);
            m_listedPaths.insert(writtenPath(entry.program));
        }
        QVariantMap item;
        item.insert(MHKeelhouseKeys::hidden, entry.hidden);
        item.insert(MHKeelhouseKeys::ref, entry.ref);
        if (!entry.name.isEmpty())
            item.insert(MHKeelhouseKeys::name, entry.name);
        if (!entry.path.isEmpty())
            item.insert(MHKeelhouseKeys::path, entry.path);
        // Only this entry's own failure belongs on its record.
        setLastError(entry.errorCode);
        if (!entry.errorReason.isEmpty())
            m_lastErrorReason = entry.errorReason;
        if (!m_lastErrorReason.isEmpty()) {
            item.insert(MHKeelhouseKeys::reason, m_lastErrorReason);
            item.insert(MHKeelhouseKeys::error, m_lastErrorCode);
            setLastError(0);
        }
        bool stop = false;
        block(item, index, stop);
        if (stop)
            break;
    }
}

bool LoginItemsHandler::addItem(const QVariantMap& item)
{
    const QString path = item.value(MHKeelhouseKeys::path).toString();
    Q_ASSERT_X(!path.isEmpty(), "addItem", "Path is required for adding login items!");
    if (path.isEmpty())
        return false;
    if (const QString refusal = refusalForPath(path); !refusal.isEmpty()) {
        setLastError(EINVAL);
        m_lastErrorReason = refusal;
        return false;
    }
    const int status = m_list->insert(item.value(MHKeelhouseKeys::name).toString(), path,
                                      item.value(MHKeelhouseKeys::hidden).toBool(), item.value(MHKeelhouseKeys::disabled).toBool());
    setLastError(status);
    if (status != 0 && !m_list->failureReason().isEmpty())
        m_lastErrorReason = m_list->failureReason();
    if (status == 0)
        m_listedPaths.insert(writtenPath(path));
    return status == 0;
}

QString LoginItemsHandler::refusalForPath(const QString& path)
{
    // A relative path would reach a launcher as an option ("-e").
    if (!path.startsWith(QLatin1Char('/')))
        return QStringLiteral("The path is not absolute");
    const auto control = std::find_if(path.begin(), path.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
    if (control != path.end())
        return QStringLiteral("The path holds the control character U+%1").arg(QString::number(control->unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    return {};
}

bool LoginItemsHandler::removeItem(const QVariantMap& item, const QString& startedBy)
{
    const QString ref = item.value(MHKeelhouseKeys::ref).toString();
    if (ref.isEmpty())
        return false;
    // An entry that is the item itself is what the item's hand-back writes.
    const QString path = item.value(MHKeelhouseKeys::path).toString();
    int status = startedBy.isEmpty() || isSamePath(path, startedBy) ? 0 : m_list->keepForItem(path, startedBy);
    if (status == 0)
        status = m_list->remove(ref);
    setLastError(status);
    return status == 0;
}

QVariantMap LoginItemsHandler::itemDataFromPath(const QString& path) const
{
    Q_ASSERT_X(!path.isEmpty(), "itemDataFromPath", "Path is required for adding login items!");
    return { { MHKeelhouseKeys::path, path }, { MHKeelhouseKeys::name, m_list->displayNameForPath(path) } };
}

std::optional<QVariantMap> LoginItemsHandler::itemDataFromServerData(const QVariantMap& serverItem) const
{
    const QString path = serverItem.value(MHItemDataKeys::path).toString();
    if (serverItem.value(MHItemDataKeys::type).toString() != MHItemDataValues::file || path.isEmpty())
        return std::nullopt;
    QVariantMap item = itemDataFromPath(path);
    if (serverItem.value(MHItemDataKeys::disabled).toBool())
        item.insert(MHKeelhouseKeys::disabled, true);
    return item;
}

bool LoginItemsHandler::isEntryForPath(const QVariantMap& systemItem, const QString& path) const
{
    return isSamePath(path, systemItem.value(MHKeelhouseKeys::path).toString())
        || isSamePath(path, m_plainPrograms.value(systemItem.value(MHKeelhouseKeys::ref).toString()));
}

bool LoginItemsHandler::hasEntryForPath(const QString& path) const
{
    const QString written = writtenPath(path);
    return !written.isEmpty() && m_listedPaths.contains(written);
}

bool LoginItemsHandler::isItemFromServer(const QVariantMap& serverItem, const QVariantMap& systemItem) const
{
    return isEntryForPath(systemItem, serverItem.value(MHItemDataKeys::path).toString());
}

bool LoginItemsHandler::isItemContainedIn(const QVariantMap& systemItem, const QVariantList& serverItems) const
{
    return !pathOfItemFor(systemItem, serverItems).isEmpty();
}

QString LoginItemsHandler::pathOfItemFor(const QVariantMap& systemItem, const QVariantList& serverItems) const
{
    for (const QVariant& serverItem : serverItems) {
        const QVariantMap record = serverItem.toMap();
        if (record.value(MHItemDataKeys::type).toString() != MHItemDataValues::delay && isItemFromServer(record, systemItem))
            return record.value(MHItemDataKeys::path).toString();
    }
    return {};
}

qsizetype LoginItemsHandler::indexOfItem(const QVariantMap& systemItem, const QVariantList& serverItems) const
{
    for (qsizetype index = 0; index < serverItems.size(); ++index) {
        if (isItemFromServer(serverItems[index].toMap(), systemItem))
            return index;
    }
    return -1;
}

bool LoginItemsHandler::isLanternwick(const QVariantMap& systemItem) const
{
    const QString ref = systemItem.value(MHKeelhouseKeys::ref).toString();
    if (!ref.isEmpty() && ref == m_list->ownEntryRef())
        return true;
    if (m_lanternwickPath.isEmpty())
        return false;
    return isSamePath(systemItem.value(MHKeelhouseKeys::path).toString(), m_lanternwickPath)
        || isSamePath(m_programs.value(ref), m_lanternwickPath);
}

bool LoginItemsHandler::isError(const QVariantMap& systemItem)
{
    return systemItem.contains(MHKeelhouseKeys::error);
}

QString LoginItemsHandler::errorStringForError(quint32 code)
{
    return QString::fromStdString(std::error_code(int(code), std::generic_category()).message());
}
