#include "shell/DataMigrationsAtStart.h"

#include "foundation/AtomicFile.h"
#include "foundation/Log.h"
#include "foundation/MHErrors.h"
#include "foundation/UserDefaults.h"
#include "model/DBLoginGroup.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"
#include "model/DatabaseFiles.h"
#include "model/DatabaseSerializer.h"
#include "model/ObjectContext.h"
#include "shell/ApplicationHelpers.h"
#include "shell/DatabaseArchiver.h"
#include "texts/DialogPresenter.h"
#include "texts/Localizator.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <sys/stat.h>

namespace {

// A folder or file of its own, not a symbolic link that could lead elsewhere.
bool isRealFolder(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink();
}

bool isRealFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink();
}

// The path with every symbolic link of its existing part resolved.
QString resolvedPath(const QString& path)
{
    QString existing = QDir::cleanPath(path);
    QString rest;
    while (!existing.isEmpty() && !QFileInfo::exists(existing)) {
        rest = QLatin1Char('/') + QFileInfo(existing).fileName() + rest;
        const QString parent = QFileInfo(existing).path();
        if (parent == existing)
            break;
        existing = parent;
    }
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    return (canonical.isEmpty() ? existing : canonical) + rest;
}

bool isInside(const QString& path, const QString& folder)
{
    const QString prefix = QDir::cleanPath(folder) + QLatin1Char('/');
    return (QDir::cleanPath(path) + QLatin1Char('/')).startsWith(prefix) || (resolvedPath(path) + QLatin1Char('/')).startsWith(resolvedPath(folder) + QLatin1Char('/'));
}

// Regular files and folders only: a symbolic link is never followed out of
// the container, and a pipe or device is no data of ours.
bool copyTree(const QString& source, const QString& destination, Error* error)
{
    const QFileInfoList entries =
        QDir(source).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString target = destination + QLatin1Char('/') + entry.fileName();
        if (entry.isSymLink() || (!entry.isDir() && !entry.isFile())) {
            LOG_WARN("Not copying %1: it is no regular file or folder", entry.filePath());
            continue;
        }
        if (entry.isDir()) {
            if (!QDir().mkdir(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) || !copyTree(entry.filePath(), target, error))
                return false;
            continue;
        }
        // Synced, as the folder they are in is renamed into place afterwards.
        QFile file(entry.filePath());
        if (!file.open(QIODevice::ReadOnly)) {
            *error = Error(MHErrors::domain, 0, QStringLiteral("Cannot copy %1: %2").arg(entry.filePath(), file.errorString()));
            return false;
        }
        const QByteArray contents = file.readAll();
        const int failure = file.error() == QFileDevice::NoError ? AtomicFile::write(target, contents, S_IRUSR | S_IWUSR, AtomicFile::Existing::Keep) : EIO;
        if (failure) {
            *error = Error(MHErrors::domain, 0, QStringLiteral("Cannot copy %1: %2").arg(entry.filePath(), AtomicFile::describe(failure)));
            return false;
        }
    }
    return true;
}

// What a database holds, to compare a converted one with its file.
QList<qsizetype> contentCounts(ObjectContext& context)
{
    return { context.sortedLoginItemsForGroup(context.getOrCreateApplicationLoginGroup()).size(),
             context.sortedLoginItemsForGroup(context.getOrCreateIgnoreLoginGroup()).size(),
             context.fetch<DBLoginGroup>().size(),
             context.fetch<DBStartupCondition>().size(),
             context.fetch<DBScheduledConditionDataItem>().size() };
}

} // namespace

DataMigrationsAtStart::DataMigrationsAtStart(ApplicationHelpers& helpers, UserDefaults& settings, DialogPresenter& dialogs)
    : m_helpers(helpers)
    , m_settings(settings)
    , m_dialogs(dialogs)
{
}

QString DataMigrationsAtStart::containerPath() const
{
    return QDir::homePath() + QStringLiteral("/.var/app/") + m_helpers.applicationBundleID();
}

bool DataMigrationsAtStart::isInsideContainer(const QString& path) const
{
    return isInside(path, containerPath()) || isInside(path, containerPath() + QStringLiteral(".Keelhouse"));
}

// --- Out of the Flatpak folder ---------------------------------------------------

void DataMigrationsAtStart::migrateDatabaseOutOfCointainerIfNecessary()
{
    if (m_settings.skipContainerDataMigration()) {
        LOG_VERBOSE("Container migration already performed.");
        return;
    }
    const QString container = containerPath();
    const QString serviceContainer = container + QStringLiteral(".Keelhouse");
    const QString dataFolder = m_helpers.applicationDatabasePath();
    const QString settingsFile = m_settings.filePath();
    // Inside the sandbox the data already are where this edition keeps them.
    if (qEnvironmentVariableIsSet("FLATPAK_ID") || QFileInfo::exists(QStringLiteral("/.flatpak-info")) || isInsideContainer(dataFolder)
        || isInsideContainer(settingsFile)) {
        LOG_VERBOSE("Container migration not needed, running inside the container at %1.", container);
        return;
    }
    // The lock of this copy may be there already; it is no data.
    const QStringList dataFolderEntries = QDir(dataFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const bool holdsOnlyTheLock = dataFolderEntries == QStringList { QFileInfo(m_helpers.applicationLockFilePath()).fileName() };
    if (QFileInfo::exists(dataFolder) && !holdsOnlyTheLock) {
        LOG_VERBOSE("Container migration not needed, destination path already exists (possibly running 2.1 after 2.2.x?).");
        return;
    }
    const bool hasContainer = isRealFolder(container);
    const bool hasServiceContainer = isRealFolder(serviceContainer);
    if (!hasContainer && !hasServiceContainer) {
        LOG_VERBOSE("Container migration not needed, container path doesn't exist at %1.", container);
        return;
    }

    LOG_INFO("Moving application data from container...");
    const QString name = m_helpers.cleanApplicationName();
    const QString sourceData = container + QStringLiteral("/data/") + name;
    const QString sourceSettings = QStringLiteral("%1/config/%2/%2.conf").arg(container, name);
    if (hasContainer && isRealFolder(sourceData)) {
        LOG_VERBOSE("Migrating database:\nfrom: %1\nto: %2", sourceData, dataFolder);
        Error error;
        if (!copyDataFolder(sourceData, dataFolder, &error)) {
            Error::log(QStringLiteral("Failed migrating database folder from container!"), error);
            return;
        }
    }
    if (hasContainer && isRealFile(sourceSettings) && !QFileInfo::exists(settingsFile)) {
        LOG_VERBOSE("Migrating preferences:\nfrom: %1\nto: %2", sourceSettings, settingsFile);
        Error error;
        DatabaseFiles files;
        if (!QDir().mkpath(QFileInfo(settingsFile).path()) || !files.copyFile(sourceSettings, settingsFile, &error)) {
            Error::log(QStringLiteral("Failed migrating preferences file from container!"), error);
            return;
        }
        m_settings.synchronize();
    }
    // The archives go into the data folder, which may not exist yet.
    if (!m_helpers.initializeAppDataFolder())
        return;
    const QString bundleID = m_helpers.applicationBundleID();
    if (hasContainer
        && !archiveAndRemove(container, bundleID, QStringLiteral("Archiving container data:\nfrom: %1\nto: %2"),
                             QStringLiteral("Failed archiving container data!"), QStringLiteral("Failed deleting container data!")))
        return;
    if (hasServiceContainer
        && !archiveAndRemove(serviceContainer, bundleID + QStringLiteral(".Keelhouse"),
                             QStringLiteral("Archiving login items services container data:\nfrom: %1\nto: %2"),
                             QStringLiteral("Failed archiving login items services container data!"),
                             QStringLiteral("Failed deleting services container data!")))
        return;
    m_settings.setSkipContainerDataMigration(true);
}

bool DataMigrationsAtStart::copyDataFolder(const QString& source, const QString& destination, Error* error) const
{
    // Copied into a private folder beside the destination and renamed, so the
    // data folder appears whole, owner-only from the start, or not at all.
    const QString parent = QFileInfo(destination).path();
    QTemporaryDir staging(QStringLiteral("%1/.%2.migrating-XXXXXX").arg(parent, QFileInfo(destination).fileName()));
    if (!QDir().mkpath(parent) || !staging.isValid()) {
        *error = Error(MHErrors::domain, 0, QStringLiteral("Cannot make a folder in %1").arg(parent));
        return false;
    }
    if (!copyTree(source, staging.path(), error))
        return false;
    // A folder that holds only the lock of this copy keeps it: the copied
    // entries move in beside it, each in one rename.
    if (QFileInfo(destination).isDir()) {
        const QStringList names = QDir(staging.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& name : names) {
            const QString from = staging.path() + QLatin1Char('/') + name;
            if (!QDir().rename(from, destination + QLatin1Char('/') + name)) {
                *error = Error(MHErrors::domain, 0, QStringLiteral("Cannot rename %1 into %2").arg(from, destination));
                return false;
            }
        }
        return true;
    }
    if (!QDir().rename(staging.path(), destination)) {
        *error = Error(MHErrors::domain, 0, QStringLiteral("Cannot rename %1 to %2").arg(staging.path(), destination));
        return false;
    }
    staging.setAutoRemove(false);
    return true;
}

bool DataMigrationsAtStart::archiveAndRemove(const QString& container, const QString& archivePrefix, const QString& archiving,
                                             const QString& failedArchiving, const QString& failedDeleting) const
{
    const QString archive = DatabaseArchiver(archivePrefix).archivePathInFolder(m_helpers.applicationDatabasePath(), QDateTime::currentDateTime());
    LOG_VERBOSE("%1", archiving.arg(container, archive));
    Error error;
    if (!DatabaseArchiver::archiveFolder(container, archive, &error)) {
        Error::log(failedArchiving, error);
        return false;
    }
    LOG_VERBOSE("Deleting container data:\nfrom: %1", container);
    // Removing never follows a symbolic link: only the link itself goes.
    if (!QDir(container).removeRecursively())
        Error::log(failedDeleting, Error(MHErrors::domain, 0, QStringLiteral("Could not remove everything in %1").arg(container)));
    return true;
}

// --- Old store into the text storage -----------------------------------------------

bool DataMigrationsAtStart::migrateDatabaseToTextStorageIfNecessary()
{
    const QString folder = m_helpers.applicationDatabasePath() + QLatin1Char('/');
    const QString textStore = folder + m_helpers.applicationStoreFilenameForTextStorage(true);
    const QString oldStore = folder + m_helpers.applicationStoreFilenameForTextStorage(false);
    if (QFileInfo::exists(textStore)) {
        LOG_NORMAL("Text storage database found, migration from Core Data not needed.");
        return true;
    }
    if (!QFileInfo::exists(oldStore)) {
        LOG_NORMAL("Core Data database not found, assuming fresh launch.");
        return true;
    }
    LOG_NORMAL("Migrating database to text storage...");
    LOG_INFO("Opening Core Data database...");
    QVariantMap changed;
    const std::unique_ptr<ObjectContext> context = m_helpers.managedObjectContextForMigration(&changed);
    if (!context) {
        if (!m_helpers.presentDatabaseInitializationError(m_dialogs)) {
            LOG_ERROR("Quitting due to Core Data initialization error!");
            return false;
        }
        return true;
    }

    LOG_INFO("Saving to text storage...");
    Error error;
    if (!m_helpers.saveDatabaseFromManagedObjectContext(*context, &error) || !verifyTextStorage(*context, textStore, &error)) {
        Error::log(QStringLiteral("Failed converting the old database, it stays as it is:"), error);
        // The session starts empty and keeps what the user does in a new
        // store; the old one is never touched again, and the user is told so.
        presentError(Localizator::shared().errorForFailedOldDatabaseConversionWithUnderlyingError(error));
        return true;
    }
    context->reset();
    backUpOldStore(oldStore);
    if (!changed.isEmpty()) {
        // The user must learn why an item no longer starts.
        const Localizator& texts = Localizator::shared();
        DialogPresenter::Request request;
        request.messageText = texts.oldDatabaseConversionChangesTitle();
        request.informativeText = texts.oldDatabaseConversionChangesText(changed, m_helpers);
        LOG_WARN("%1 %2", request.messageText, request.informativeText);
        m_dialogs.runModal(request);
    }
    return true;
}

bool DataMigrationsAtStart::verifyTextStorage(ObjectContext& converted, const QString& textStore, Error* error) const
{
    const Localizator& texts = Localizator::shared();
    ObjectContext reloaded(texts);
    DatabaseSerializer reader(m_helpers.applicationDatabasePath(), m_helpers.cleanApplicationName(), texts);
    Error loadError;
    if (reader.loadDatabaseToManagedObjectContext(reloaded, &loadError) && contentCounts(reloaded) == contentCounts(converted))
        return true;
    // Left in place, it would pass for the converted database at the next start.
    QFile::remove(textStore);
    *error = loadError.domain().isEmpty()
        ? Error(MHErrors::domain, MHErrors::MHErrorCodeTextStorageLoadingFailed,
                QStringLiteral("The converted database does not read back as it was written."))
        : loadError;
    return false;
}

void DataMigrationsAtStart::backUpOldStore(const QString& oldStore) const
{
    LOG_INFO("Backing up old database...");
    const QStringList files = DatabaseArchiver::sqliteStoreFiles(oldStore);
    QString archive;
    Error error;
    if (!DatabaseArchiver(m_helpers.applicationBundleID() + QStringLiteral(".CoreData"))
             .archiveFiles(files, m_helpers.applicationDatabasePath(), &archive, &error)) {
        LOG_WARN("Failed creating backup of Core Data files! %1", error);
        return;
    }
    for (const QString& path : std::as_const(files)) {
        QFile file(path);
        if (!file.remove())
            LOG_WARN("Failed deleting obsolete Core Data file %1! %2", QFileInfo(path).fileName(), file.errorString());
    }
}

void DataMigrationsAtStart::presentError(const Error& error) const
{
    m_dialogs.runModal(DialogPresenter::requestForError(error));
}
