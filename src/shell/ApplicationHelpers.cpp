#include "shell/ApplicationHelpers.h"

#include "engine/ApplicationContext.h"
#include "engine/AutoCloseApplicationState.h"
#include "engine/DelayBeforeExecutionApplicationState.h"
#include "engine/ExecutingApplicationState.h"
#include "engine/SystemItemsStateFactories.h"
#include "engine/LiveMachineStateSource.h"
#include "engine/MachineFacts.h"
#include "engine/RunJournal.h"
#include "foundation/AtomicFile.h"
#include "foundation/Log.h"
#include "foundation/MHDebugOptions.h"
#include "foundation/MHErrors.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/NotificationCenter.h"
#include "foundation/PrivateFolder.h"
#include "foundation/PropertyList.h"
#include "foundation/UserDefaults.h"
#include "keelhouse/KeelhouseServiceFile.h"
#include "keelhouse/KeptDesktopEntries.h"
#include "keelhouse/LoginItemsHandler.h"
#include "model/DBLoginGroup.h"
#include "model/DBFileItem.h"
#include "model/DBLoginItem.h"
#include "model/DatabaseSerializer.h"
#include "model/MHTextStorageKeys.h"
#include "model/ExecutionValidationParameters.h"
#include "model/ObjectContext.h"
#include "model/OldStoreConverter.h"
#include "model/ProgressiveDataMigrator.h"
#include "platform/Workspace.h"
#include "platform/linux/LinuxMountedVolumesProvider.h"
#include "platform/linux/LinuxPowerSourceProvider.h"
#include "platform/linux/LinuxReachabilityProvider.h"
#include "platform/linux/LinuxSystemTimesProvider.h"
#include "platform/linux/LinuxWifiProvider.h"
#include "platform/linux/LinuxWorkspace.h"
#include "shell/ApplicationBundle.h"
#include "shell/DatabaseArchiver.h"
#include "shell/DesktopNotifications.h"
#include "shell/HelpOpener.h"
#include "shell/NoModifierKeysProvider.h"
#include "texts/DialogPresenter.h"
#include "texts/Localizator.h"

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <algorithm>

namespace {

const QString kApplicationName = QStringLiteral("Lanternwick");

// The real machine for every part the caller left empty.
ApplicationHelpers::Parts withMachineDefaults(ApplicationHelpers::Parts parts)
{
    const QDBusConnection systemBus = QDBusConnection::systemBus();
    if (!parts.workspace)
        parts.workspace = std::make_shared<LinuxWorkspace>();
    if (!parts.wifi)
        parts.wifi = std::make_shared<LinuxWifiProvider>(systemBus);
    if (!parts.volumes)
        parts.volumes = std::make_shared<LinuxMountedVolumesProvider>();
    if (!parts.reachability)
        parts.reachability = std::make_shared<LinuxReachabilityProvider>(systemBus);
    if (!parts.powerSource)
        parts.powerSource = std::make_shared<LinuxPowerSourceProvider>(systemBus);
    if (!parts.modifierKeys)
        parts.modifierKeys = std::make_shared<NoModifierKeysProvider>();
    if (!parts.systemTimes)
        parts.systemTimes = std::make_shared<LinuxSystemTimesProvider>();
    if (!parts.notifications)
        parts.notifications = std::make_shared<DesktopNotifications>(QDBusConnection::sessionBus(), kApplicationName);
    if (!parts.userDefaults)
        parts.userDefaults = &UserDefaults::standard();
    if (!parts.notificationCenter)
        parts.notificationCenter = &NotificationCenter::defaultCenter();
    return parts;
}

// UTF-8 text of a file; nothing when it cannot be read or is not UTF-8.
std::optional<QString> readUtf8File(const QString& path)
{
    QByteArray bytes;
    if (AtomicFile::read(path, PropertyList::kMaximumFileSize, &bytes) != 0)
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

ApplicationHelpers::ApplicationHelpers()
    : ApplicationHelpers(Parts())
{
}

ApplicationHelpers::ApplicationHelpers(Parts parts)
    : m_parts(withMachineDefaults(std::move(parts)))
    , m_facts(std::make_shared<MachineFacts>(m_parts.wifi, m_parts.volumes, m_parts.reachability))
    , m_applicationName(kApplicationName)
    , m_applicationVersion(QStringLiteral(LW_VERSION))
    , m_applicationBuild(QStringLiteral(LW_VERSION))
    , m_applicationCopyright(QStringLiteral("Copyright © Moss Harbour"))
    , m_applicationBundleID(QStringLiteral(LW_BUNDLE_IDENTIFIER))
{
}

ApplicationHelpers::~ApplicationHelpers()
{
    LOG_DEBUG("Deallocating...");
    cleanUp();
    if (m_isSharedSystemItemHelpers)
        DBFileItem::setSharedSystemItemHelpers(nullptr);
    if (m_machineStateSource && ExecutionValidationParameters::defaultMachineStateSource() == m_machineStateSource)
        ExecutionValidationParameters::setDefaultMachineStateSource(nullptr);
}

ApplicationHelpers& ApplicationHelpers::sharedInstance()
{
    // Never destroyed: objects that outlive main() may still ask it.
    static ApplicationHelpers* const instance = new ApplicationHelpers();
    return *instance;
}

QString ApplicationHelpers::cleanApplicationName() const
{
    if (m_cleanApplicationName.isEmpty())
        m_cleanApplicationName = ApplicationBundle::cleanApplicationName(m_applicationName);
    return m_cleanApplicationName;
}

void ApplicationHelpers::setHelpOpener(std::shared_ptr<HelpOpener> opener)
{
    m_parts.helpOpener = std::move(opener);
}

void ApplicationHelpers::setModifierKeysProvider(std::shared_ptr<const ModifierKeysProvider> provider)
{
    m_parts.modifierKeys = std::move(provider);
}

// --- Files -------------------------------------------------------------------

QString ApplicationHelpers::applicationDatabasePath() const
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') + cleanApplicationName();
}

QString ApplicationHelpers::logFilesPath() const
{
    return log_directory();
}

QString ApplicationHelpers::applicationStoreFilenameForTextStorage(bool textStorage) const
{
    return cleanApplicationName() + (textStorage ? QStringLiteral(".plist") : QStringLiteral(".data"));
}

QString ApplicationHelpers::applicationSessionBackupFilename() const
{
    return applicationStoreFilenameForTextStorage(true) + QStringLiteral(".backup");
}

QString ApplicationHelpers::applicationLastChangeBackupFilename() const
{
    return applicationStoreFilenameForTextStorage(true) + QStringLiteral(".backup~");
}

QString ApplicationHelpers::applicationLockFilePath() const
{
    return applicationDatabasePath() + QLatin1Char('/') + cleanApplicationName() + QStringLiteral(".lock");
}

QString ApplicationHelpers::applicationFailedDatabaseBackupFilename() const
{
    return applicationBundleID() + QStringLiteral(".CorruptedFilesBackup");
}

std::optional<QVariantMap> ApplicationHelpers::databaseContentsFromFile(const QString& path) const
{
    return const_cast<ApplicationHelpers*>(this)->databaseSerializer().databaseContentsFromFile(path, nullptr);
}

// --- Start-up ------------------------------------------------------------------

void ApplicationHelpers::initializeUserDefaults()
{
    const QString path = ApplicationBundle::current().pathForResource(QStringLiteral("FactoryDefaults.plist"));
    if (path.isEmpty())
        return;
    Error error;
    if (!m_parts.userDefaults->registerDefaultsFromFile(path, &error)) {
        Error::log(QStringLiteral("Failed registering factory settings from %1:").arg(path), error);
        return;
    }
    m_parts.userDefaults->migrateUserDefaults();
}

void ApplicationHelpers::initializeLoggingSystem()
{
    const UserDefaults& defaults = *m_parts.userDefaults;
    gLogMask = log_mask_for_verbosity(int32_t(defaults.loggingVerbosityLevel()));
    gLogViewsEnabled = defaults.isLoggingViewsEnabled();
    gLogObservationsEnabled = defaults.isLoggingObservationsEnabled();
    log_initialize(defaults.isLoggingToFileEnabled(), defaults.loggingNumberOfFilesToKeep());
    LOG_NORMAL("Starting application %1 (%2) on %3...", applicationVersion(), applicationBuild(),
               QDateTime::currentDateTime().toString(Qt::ISODate));
    logUserDefaults(defaults);
    // Read now, so that a debug option that stops saving shows in the log at start.
    debugOptions();
}

void ApplicationHelpers::logUserDefaults(const UserDefaults& defaults) const
{
    const QVariantMap values = defaults.dictionaryRepresentation();
    QStringList lines;
    for (auto entry = values.cbegin(); entry != values.cend(); ++entry) {
        const QString& key = entry.key();
        if (key.contains(QLatin1String("com.")) || key.contains(QLatin1String("RecentFileSearches"))
            || key.startsWith(QLatin1String("NS")) || key.startsWith(QLatin1String("Apple")))
            continue;
        lines.append(QStringLiteral("%1 = %2").arg(key, entry.value().toString()));
    }
    const QString rule(55, QLatin1Char('-'));
    LOG_INFO("User defaults:\n%1\n%2\n%3", rule, lines.join(QLatin1Char('\n')), rule);
}

bool ApplicationHelpers::initializeAppDataFolder()
{
    LOG_INFO("Initializing application data folder...");
    const QString failure = PrivateFolder::make(applicationDatabasePath());
    if (failure.isEmpty())
        return true;
    const Error cause(MHErrors::domain, 0, failure);
    Error::log(QStringLiteral("Failed creating application data folder at %1:").arg(applicationDatabasePath()), cause);
    // Only the user can mend it: nothing to restore or delete, quit is all there is.
    auto attempter = std::make_shared<ErrorRecoveryAttempter>();
    attempter->addOption(Localizator::shared().errorForFailedDatabaseInitializationQuitButton(), quitOption(true));
    m_databaseInitializationError = Localizator::shared().errorForFailedDataFolderWithRecoveryAttempter(attempter->titles(), cause);
    m_recoveryAttempter = std::move(attempter);
    return false;
}

QVariantMap ApplicationHelpers::debugOptions() const
{
    if (!m_debugOptions) {
        LOG_DEBUG("Initializing debug options due to first access...");
        const std::optional<QVariantMap> options = readDebugOptions();
        if (!options)
            return {};
        m_debugOptions = options;
        if (m_debugOptions->value(MHDebugOptions::PreventSave).toBool())
            LOG_WARN("Debug option %1 is on: changes will not be saved!", MHDebugOptions::PreventSave);
    }
    return *m_debugOptions;
}

std::optional<QVariantMap> ApplicationHelpers::readDebugOptions() const
{
    const QString path = applicationDatabasePath() + QStringLiteral("/DebugOptions.plist");
    if (!QFileInfo::exists(path))
        return QVariantMap();
    LOG_DEBUG("Debug options file exists, reading...");
    Error error;
    const std::optional<QVariantMap> contents = PropertyList::dictionaryFromFile(path, &error);
    if (!contents) {
        Error::log(QStringLiteral("Failed reading debug options from %1:").arg(path), error);
        return std::nullopt;
    }
    static const QLatin1String known[] = { MHDebugOptions::PreventSave,
                                           MHDebugOptions::PreventFileItemExecution,
                                           MHDebugOptions::PreventDelayItemExecution,
                                           MHDebugOptions::PreventSystemItemsReading,
                                           MHDebugOptions::PreventSystemItemsCreating,
                                           MHDebugOptions::PreventSystemItemsDeleting,
                                           MHDebugOptions::PreventUninstallingLanternwick };
    QVariantMap options;
    for (const QLatin1String key : known) {
        const QVariant value = contents->value(key);
        if (value.typeId() == QMetaType::Bool)
            options.insert(key, value);
        else if (value.isValid())
            LOG_WARN("Debug option %1 is not a Boolean, ignoring it.", key);
    }
    return options;
}

// --- Services ------------------------------------------------------------------

bool ApplicationHelpers::postUserNotificationWithTitle(const QString& title, const QString& informativeText)
{
    if (!m_parts.userDefaults->isNotificationCenterEnabled())
        return true;
    LOG_DEBUG("Delivering notification %1: %2...", title, informativeText);
    return m_parts.notifications->notify(title, informativeText);
}

bool ApplicationHelpers::openHelpAnchor(const QString& anchor)
{
    LOG_VERBOSE("Opening help anchor %1...", anchor);
    // An anchor names a page; anything that could leave the help folder is none.
    static const QRegularExpression pageName(QStringLiteral("^[A-Za-z0-9_-]+$"));
    const QString path = ApplicationBundle::current().resourcesPath() + QStringLiteral("/help/") + anchor + QStringLiteral(".html");
    if (!pageName.match(anchor).hasMatch() || !QFileInfo::exists(path)) {
        LOG_ERROR("No help page for anchor %1!", anchor);
        return false;
    }
    if (!m_parts.helpOpener) {
        LOG_ERROR("Nothing to show help page %1 with!", path);
        return false;
    }
    return m_parts.helpOpener->openUrl(QUrl::fromLocalFile(path));
}

QString ApplicationHelpers::contentsOfLastLogFiles() const
{
    const QDir folder(logFilesPath());
    if (!folder.exists())
        return {};
    const QStringList entries = folder.entryList(QDir::Files, QDir::Name);
    const qsizetype wanted = std::min<qsizetype>(entries.size() / 2, 5) + 1;
    QString contents;
    qsizetype added = 0;
    for (qsizetype i = entries.size() - 1; i >= 0 && added < wanted; --i) {
        if (const std::optional<QString> text = readUtf8File(folder.filePath(entries.at(i)))) {
            contents += QStringLiteral("### %1 ###\n%2\n\n").arg(entries.at(i), *text);
            ++added;
        }
    }
    return contents;
}

QString ApplicationHelpers::contentsOfDatabase() const
{
    const std::optional<QString> text = readUtf8File(applicationDatabasePath() + QLatin1Char('/') + applicationStoreFilenameForTextStorage(true));
    return text ? QStringLiteral("### database.xml ###\n%1\n\n").arg(*text) : QString();
}

QDateTime ApplicationHelpers::calculatedBootTime() const
{
    return m_parts.systemTimes->bootTime();
}

QDateTime ApplicationHelpers::calculatedLoginTime() const
{
    return m_parts.systemTimes->loginTime();
}

QString ApplicationHelpers::bootID() const
{
    return m_parts.systemTimes->bootID();
}

QString ApplicationHelpers::loginSessionID() const
{
    return m_parts.systemTimes->loginSessionID();
}

RunJournal* ApplicationHelpers::runJournal()
{
    std::call_once(m_runJournalMade, [this] { m_runJournal = std::make_unique<RunJournal>(state_directory() + QStringLiteral("/RunJournal")); });
    return m_runJournal.get();
}

// --- Process-wide objects --------------------------------------------------------

LiveMachineStateSource& ApplicationHelpers::machineStateSource()
{
    if (!m_machineStateSource) {
        m_machineStateSource = std::make_shared<LiveMachineStateSource>(m_facts, m_parts.modifierKeys, m_parts.powerSource, nullptr,
                                                                        m_parts.userDefaults, m_parts.notificationCenter);
        m_machineStateSource->setSortedItemsFunction([this] { return sortedLoginItemsForApplicationGroup(); });
        ExecutionValidationParameters::setDefaultMachineStateSource(m_machineStateSource);
    }
    return *m_machineStateSource;
}

void ApplicationHelpers::fetchTimeIntensiveBlockingValues()
{
    machineStateSource().fetchTimeIntensiveBlockingValues();
}

bool ApplicationHelpers::installKeelhouseServiceFile()
{
    return KeelhouseServiceFile::install(ApplicationBundle::current().keelhouseProgramPath(), QDBusConnection::sessionBus());
}

ApplicationContext& ApplicationHelpers::applicationContext()
{
    if (!m_applicationContext) {
        LOG_DEBUG("Initializing application context due to first access...");
        machineStateSource();
        m_applicationContext = std::make_unique<ApplicationContext>();
        ExecutingApplicationState::registerWithContext(*m_applicationContext, m_parts.workspace);
        DelayBeforeExecutionApplicationState::registerWithContext(*m_applicationContext);
        AutoCloseApplicationState::registerWithContext(*m_applicationContext);
        SystemItemsStateFactories::registerWithContext(*m_applicationContext);
        m_applicationContext->setApplicationHelpers(this);
        m_applicationContext->setModelObjectHelpers(this);
        m_applicationContext->setSystemItemHelpers(this);
        m_applicationContext->setNotificationCenter(m_parts.notificationCenter);
        m_applicationContext->setUserDefaults(m_parts.userDefaults);
        m_applicationContext->setManagedObjectContext(managedObjectContext());
    }
    return *m_applicationContext;
}

void ApplicationHelpers::stopEngine()
{
    if (m_applicationContext)
        m_applicationContext->shutdown();
}

SystemItemsHandling* ApplicationHelpers::systemItemsHandler()
{
    if (!m_systemItemsHandler) {
        LOG_DEBUG("Initializing system items handler due to first access...");
        m_systemItemsHandler = LoginItemsHandler::create();
        if (!m_systemItemsHandler) {
            LOG_ERROR("Failed initializing system items handler!");
            return nullptr;
        }
        m_systemItemsHandler->setItemsChangedNotificationDelay(m_parts.userDefaults->systemItemsChangedNotificationDelay());
    }
    return m_systemItemsHandler.get();
}

void ApplicationHelpers::cleanUp()
{
    LOG_DEBUG("Cleaning up...");
    if (m_systemItemsHandler)
        m_systemItemsHandler->enableChangeNotifications(false);
}

void ApplicationHelpers::removeUnusedKeptAutostartEntries()
{
    if (!m_managedObjectContext)
        return;
    QSet<QString> used;
    for (const DBFileItem* item : m_managedObjectContext->fetch<DBFileItem>())
        used.insert(item->itemPath());
    // A restored file brings its items back, with the copies they name.
    DatabaseSerializer& files = databaseSerializer();
    for (const QString& file : { files.storeFilename(), files.sessionBackupFilename(), files.lastChangeBackupFilename() }) {
        const std::optional<QVariantMap> contents = QFileInfo::exists(file) ? databaseContentsFromFile(file) : std::nullopt;
        if (!contents && QFileInfo::exists(file)) {
            LOG_WARN("Keeping every copy of autostart entries: %1 cannot be read.", file);
            return;
        }
        for (const QLatin1String group : { MHTextStorageKeys::application, MHTextStorageKeys::ignored }) {
            for (const QVariant& item : contents.value_or(QVariantMap()).value(group).toList())
                used.insert(item.toMap().value(MHTextStorageKeys::itemPath).toString());
        }
    }
    KeptDesktopEntries(KeptDesktopEntries::folderInDataFolder(applicationDatabasePath())).removeCopiesExcept(used);
}

// --- Items -------------------------------------------------------------------------

QList<DBLoginItem*> ApplicationHelpers::sortedLoginItemsForApplicationGroup()
{
    return m_modelEditing ? m_modelEditing->sortedLoginItemsForApplicationGroup() : QList<DBLoginItem*>();
}

QList<DBLoginItem*> ApplicationHelpers::sortedLoginItemsForGroup(const DBLoginGroup* group)
{
    return m_modelEditing ? m_modelEditing->sortedLoginItemsForGroup(group) : QList<DBLoginItem*>();
}

LoginItemType ApplicationHelpers::typeOfLoginItem(const DBLoginItem* item) const
{
    return item ? item->loginItemType() : LoginItemTypeFile;
}

// --- Files, volumes and networks ---------------------------------------------------------

bool ApplicationHelpers::isMissingItemAtPath(const QString& path) const
{
    return path.isEmpty() || m_parts.workspace->isMissingItemAtPath(path);
}

ItemPathType ApplicationHelpers::typeForItemAtPath(const QString& path) const
{
    return path.isEmpty() ? ItemPathTypeUnknown : m_parts.workspace->typeForItemAtPath(path);
}

QString ApplicationHelpers::displayNameForItemAtPath(const QString& path) const
{
    return path.isEmpty() ? QString() : m_parts.workspace->displayNameForItemAtPath(path);
}

QString ApplicationHelpers::niceDisplayNameForItemAtPath(const QString& path) const
{
    const QFileInfo file(QDir::cleanPath(path));
    const QString suffix = file.suffix();
    // A desktop entry (an application, or our copy of a session entry) is
    // named as the desktop names it, by its localized Name.
    if (suffix == QLatin1String("desktop") && !isMissingItemAtPath(path)) {
        const QString name = displayNameForItemAtPath(path);
        if (!name.isEmpty())
            return name;
    }
    // Desktop entries are this desktop's application bundles.
    if (suffix == QLatin1String("app") || suffix == QLatin1String("desktop"))
        return file.completeBaseName();
    return file.fileName();
}

QString ApplicationHelpers::niceDescriptionForItemAtPath(const QString& path) const
{
    if (isMissingItemAtPath(path))
        return Localizator::shared().niceDescriptionStringForMissingItem();
    const QString description = m_parts.workspace->descriptionForItemAtPath(path);
    if (description.isEmpty())
        LOG_WARN("Couldn't get description for %1, error was %2!", path, QStringLiteral("unknown kind of file"));
    return description;
}

QString ApplicationHelpers::iconNameForItemAtPath(const QString& path) const
{
    if (isMissingItemAtPath(path))
        return QStringLiteral("dialog-warning");
    return m_parts.workspace->iconNameForItemAtPath(path);
}

QList<AttachedVolumeData> ApplicationHelpers::attachedVolumesData() const
{
    return m_facts->attachedVolumesData();
}

bool ApplicationHelpers::isNetworkReachable() const
{
    return m_facts->isNetworkReachable();
}

QList<NetworkData> ApplicationHelpers::knownNetworks() const
{
    return m_facts->knownNetworks();
}

QList<NetworkData> ApplicationHelpers::currentNetworks() const
{
    return m_facts->currentNetworks();
}

NetworkData ApplicationHelpers::currentNetwork() const
{
    return m_facts->currentNetwork();
}

QList<NetworkData> ApplicationHelpers::cachedNetworks()
{
    return machineStateSource().cachedNetworks();
}

QMetaObject::Connection ApplicationHelpers::observeVolumeMounts(const QObject* receiver, std::function<void()> handler) const
{
    return QObject::connect(m_parts.volumes.get(), &MountedVolumesProvider::volumesChanged, receiver, std::move(handler));
}

// --- The database ------------------------------------------------------------------------

DatabaseSerializer& ApplicationHelpers::databaseSerializer()
{
    if (!m_databaseSerializer)
        m_databaseSerializer = std::make_unique<DatabaseSerializer>(applicationDatabasePath(), cleanApplicationName(), Localizator::shared());
    return *m_databaseSerializer;
}

void ApplicationHelpers::setDatabaseSerializer(std::unique_ptr<DatabaseSerializer> serializer)
{
    m_databaseSerializer = std::move(serializer);
}

void ApplicationHelpers::setManagedObjectContext(std::unique_ptr<ObjectContext> context)
{
    m_modelEditing.reset();
    m_managedObjectContext = std::move(context);
    if (m_managedObjectContext) {
        m_modelEditing = std::make_unique<ModelEditing>(*m_managedObjectContext, Localizator::shared());
        // Told whatever the notification setting: the user's drop or typing was not kept.
        m_modelEditing->setRefusedTextHandler([this](const QString& text) {
            const Localizator& texts = Localizator::shared();
            m_parts.notifications->notify(texts.notificationTitleForRefusedText(), texts.notificationTextForRefusedText(text));
        });
        // File items ask their facts of us; without it no file item could run.
        DBFileItem::setSharedSystemItemHelpers(std::shared_ptr<SystemItemHelping>(std::shared_ptr<void>(), this));
        m_isSharedSystemItemHelpers = true;
    }
    if (m_applicationContext)
        m_applicationContext->setManagedObjectContext(m_managedObjectContext.get());
}

bool ApplicationHelpers::loadDatabaseToManagedObjectContext(ObjectContext& context, Error* error)
{
    return databaseSerializer().loadDatabaseToManagedObjectContext(context, error);
}

bool ApplicationHelpers::saveDatabaseFromManagedObjectContext(ObjectContext& context, bool useLastChangeBackup, Error* error)
{
    return databaseSerializer().saveDatabaseFromManagedObjectContext(context, useLastChangeBackup, error);
}

bool ApplicationHelpers::saveDatabaseFromManagedObjectContext(ObjectContext& context, Error* error)
{
    return saveDatabaseFromManagedObjectContext(context, true, error);
}

ObjectContext* ApplicationHelpers::managedObjectContext()
{
    if (m_managedObjectContext)
        return m_managedObjectContext.get();
    LOG_VERBOSE("Initializing managed object context from saved data...");
    if (!initializeAppDataFolder())
        return nullptr;
    LOG_VERBOSE("Initializing managed object context...");
    auto context = std::make_unique<ObjectContext>(Localizator::shared());
    LOG_VERBOSE("Loading database into managed object context...");
    Error error;
    if (!loadDatabaseToManagedObjectContext(*context, &error)) {
        Error::log(QStringLiteral("Failed loading data!"), error);
        setupTextStorageInitializationErrorFromError(error);
        return nullptr;
    }
    setManagedObjectContext(std::move(context));
    return m_managedObjectContext.get();
}

void ApplicationHelpers::setupTextStorageInitializationErrorFromError(const Error& error)
{
    const Localizator& texts = Localizator::shared();
    // A backup that cannot be loaded would only take the place of the store.
    const bool canRestore = sessionBackupLoads();
    auto attempter = std::make_shared<ErrorRecoveryAttempter>();
    if (canRestore)
        attempter->addOption(texts.errorForFailedDatabaseInitializationRestoreButton(), [this] { return restoreFromSessionBackup(); });
    const QString store = databaseSerializer().storeFilename();
    // The backups stay: a good one is still there for a restore from the menu.
    attempter->addOption(texts.errorForFailedDatabaseInitializationDeleteButton(),
                         [this, store] { return deleteDatabaseFiles(store, DatabaseArchiver::databaseFiles(store), { store }); });
    attempter->addOption(texts.errorForFailedDatabaseInitializationQuitButton(), quitOption(true));
    Error initializationError = texts.errorForFailedTextStorageInitializationWithRecoveryAttempter(attempter->titles(), canRestore);
    initializationError.addUnderlyingError(error);
    m_databaseInitializationError = initializationError;
    m_recoveryAttempter = std::move(attempter);
}

void ApplicationHelpers::setupCoreDataInitializationErrorFromError(const Error& error)
{
    const Localizator& texts = Localizator::shared();
    auto attempter = std::make_shared<ErrorRecoveryAttempter>();
    attempter->addOption(texts.errorForFailedDatabaseInitializationQuitButton(), quitOption(false));
    const QString store = applicationDatabasePath() + QLatin1Char('/') + applicationStoreFilenameForTextStorage(false);
    attempter->addOption(texts.errorForFailedDatabaseInitializationDeleteButton(),
                         [this, store] {
                             const QStringList files = DatabaseArchiver::sqliteStoreFiles(store);
                             return deleteDatabaseFiles(store, files, files);
                         });
    Error initializationError = texts.errorForFailedCoreDataInitializationWithRecoveryAttempter(attempter->titles());
    initializationError.addUnderlyingError(error);
    m_databaseInitializationError = initializationError;
    m_recoveryAttempter = std::move(attempter);
}

ErrorRecoveryAttempter::Attempt ApplicationHelpers::quitOption(bool logged)
{
    return [this, logged] {
        if (logged)
            LOG_INFO("User chose to quit.");
        m_databaseInitializationUserChoseQuit = true;
        return false;
    };
}

std::unique_ptr<ObjectContext> ApplicationHelpers::managedObjectContextForMigration(QVariantMap* changed)
{
    LOG_VERBOSE("Initializing managed object context for migration...");
    if (!initializeAppDataFolder())
        return nullptr;
    const QString store = applicationDatabasePath() + QLatin1Char('/') + applicationStoreFilenameForTextStorage(false);
    LOG_VERBOSE("Initializing sqlite persistent store at %1...", store);
    Error error;
    ProgressiveDataMigrator migrator;
    const std::optional<OldStoreGraph> graph = migrator.progressivelyMigrateURL(store, OldStoreModel::currentModel(), &error);
    migrator.deleteTemporaryFiles();
    if (!graph) {
        Error::log(QStringLiteral("Failed migrating data from previous version!"), error);
        setupCoreDataInitializationErrorFromError(error);
        return nullptr;
    }
    LOG_VERBOSE("Migration succedded, opening database...");
    auto context = std::make_unique<ObjectContext>(Localizator::shared());
    if (!databaseSerializer().loadDatabaseFromDictionaryRepresentation(OldStoreConverter::dictionaryRepresentation(*graph, changed), *context, &error)) {
        Error::log(QStringLiteral("Failed initializing persistent store:"), error);
        setupCoreDataInitializationErrorFromError(error);
        return nullptr;
    }
    LOG_VERBOSE("Initializing managed object context...");
    return context;
}

bool ApplicationHelpers::attemptRecoveryFromDatabaseInitializationError(int optionIndex)
{
    const std::shared_ptr<ErrorRecoveryAttempter> attempter = m_recoveryAttempter;
    return attempter && attempter->attemptRecoveryFromErrorWithOptionIndex(optionIndex);
}

bool ApplicationHelpers::presentDatabaseInitializationError(DialogPresenter& presenter)
{
    if (!m_databaseInitializationError)
        return false;
    DialogPresenter::Request request;
    request.messageText = m_databaseInitializationError->description();
    request.informativeText = m_databaseInitializationError->recoverySuggestion();
    // The cause in the system's words, with its path: often what the user can mend.
    for (const Error& cause : m_databaseInitializationError->underlyingErrors())
        request.informativeText += QStringLiteral("\n\n") + cause.description();
    request.buttons = m_databaseInitializationError->recoveryOptions();
    request.cancelButton = int(request.buttons.indexOf(Localizator::shared().errorForFailedDatabaseInitializationQuitButton()));
    const int button = presenter.runModal(request).button;
    // Closed without a choice: the cancel answer.
    return attemptRecoveryFromDatabaseInitializationError(button < 0 ? request.cancelButton : button);
}

bool ApplicationHelpers::sessionBackupLoads()
{
    DatabaseSerializer& serializer = databaseSerializer();
    return serializer.databaseContentsFromFile(serializer.sessionBackupFilename(), nullptr).has_value();
}

bool ApplicationHelpers::archiveDatabaseFiles(const QString& archivePrefix, const QStringList& files, Error* error)
{
    QString archive;
    if (!DatabaseArchiver(archivePrefix).archiveFiles(files, applicationDatabasePath(), &archive, error)) {
        Error::log(QStringLiteral("Failed backing up existing database files!"), *error);
        return false;
    }
    LOG_INFO("Archived database files to %1", archive);
    return true;
}

bool ApplicationHelpers::replaceStoreWithBackup(const QString& backup, const QString& archivePrefix, Error* error)
{
    DatabaseSerializer& serializer = databaseSerializer();
    // Read once and asked again: the file may have changed since it was
    // offered, and what is written is exactly what was checked, whatever
    // happens to the file meanwhile.
    const std::optional<QByteArray> bytes = serializer.loadableDatabaseBytes(backup, error);
    if (!bytes) {
        if (error->domain().isEmpty())
            *error = Error(MHErrors::domain, 0, QStringLiteral("The backup %1 does not exist.").arg(backup));
        return false;
    }
    // The store is the user's data too, whether it loads or not: it is kept
    // before the backup takes its place.
    const QString store = serializer.storeFilename();
    if (QFileInfo::exists(store) && !archiveDatabaseFiles(archivePrefix, DatabaseArchiver::databaseFiles(store), error))
        return false;
    // One rename, so a failed write leaves the store it would have replaced.
    return serializer.replaceStore(*bytes, error);
}

bool ApplicationHelpers::restoreStoreFromBackup(const QString& backup, Error* error)
{
    return replaceStoreWithBackup(backup, applicationBundleID() + QStringLiteral(".DatabaseBeforeRestore"), error);
}

bool ApplicationHelpers::restoreFromSessionBackup()
{
    LOG_INFO("User chose to restore from backup.");
    DatabaseSerializer& serializer = databaseSerializer();
    if (!QFileInfo::exists(serializer.sessionBackupFilename())) {
        LOG_ERROR("Backup file doesn't exist, can't restore!");
        return false;
    }
    Error error;
    if (!replaceStoreWithBackup(serializer.sessionBackupFilename(), applicationFailedDatabaseBackupFilename(), &error)) {
        Error::log(QStringLiteral("Failed restoring database file from backup!"), error);
        return false;
    }
    if (!managedObjectContext()) {
        LOG_ERROR("Failed loading restored database!");
        return false;
    }
    return true;
}

bool ApplicationHelpers::deleteDatabaseFiles(const QString& store, const QStringList& archived, const QStringList& removed)
{
    LOG_INFO("User chose to delete and start from scratch.");
    if (!QFileInfo::exists(store))
        return true;
    Error error;
    if (!archiveDatabaseFiles(applicationFailedDatabaseBackupFilename(), archived, &error))
        return false;
    for (const QString& path : removed) {
        QFile file(path);
        if (!file.remove()) {
            Error::log(QStringLiteral("Failed removing database file at %1!").arg(path),
                       Error(MHErrors::domain, 0, file.errorString()));
            return false;
        }
    }
    return true;
}

// --- Saving ------------------------------------------------------------------------------

void ApplicationHelpers::preventSavingUntilRelaunch()
{
    LOG_INFO("Saving stopped until the relaunch, the database file stays as it is.");
    m_savingPreventedUntilRelaunch = true;
}

bool ApplicationHelpers::saveDataToDiskUsingChangeBackup(bool useLastChangeBackup)
{
    LOG_VERBOSE("Saving data to disk %1...", useLastChangeBackup ? QStringLiteral("using last change backup") : QStringLiteral("using session backup"));
    if (debugOptions().value(MHDebugOptions::PreventSave).toBool()) {
        LOG_WARN("Save prevented by debug options!");
        return true;
    }
    if (m_savingPreventedUntilRelaunch) {
        LOG_WARN("Save prevented until the relaunch, the database file stays as it is.");
        return true;
    }
    // Without a loaded database there is nothing to save, and writing would
    // replace a store that could not be read with an empty one.
    ObjectContext* context = m_managedObjectContext.get();
    if (!context) {
        LOG_VERBOSE("No database loaded, nothing to save...");
        return true;
    }
    DatabaseSerializer& serializer = databaseSerializer();
    // The store already holds the database as it is: rewriting it (a quit
    // after a login that changed nothing) costs a disk sync for nothing. A
    // session that did write it still keeps its starting point at quit, and
    // so does a store that has no session backup yet: a database that later
    // fails to load must have one to be restored from.
    if (!context->hasChanges() && !serializer.hasUnwrittenChanges() && !serializer.hasLostStore()) {
        if (!useLastChangeBackup && (serializer.hasWrittenStoreThisSession() || !serializer.hasSessionBackup())) {
            LOG_VERBOSE("No changes since the last save, backing up the session's start only...");
            serializer.saveSessionBackup();
        } else {
            LOG_VERBOSE("No changes, nothing to save...");
        }
        return true;
    }
    Error error;
    if (!saveDatabaseFromManagedObjectContext(*context, useLastChangeBackup, &error)) {
        Error::log(QStringLiteral("Failed saving data!"), error);
        // Told once per failure, whatever the notification setting: edits that
        // never reach the disk are lost at quit unless the user acts.
        if (!m_saveFailureShown) {
            const Localizator& texts = Localizator::shared();
            m_saveFailureShown = m_parts.notifications->notify(texts.notificationTitleForFailedSave(),
                                                               texts.notificationTextForFailedSaveWithError(error));
        }
        return false;
    }
    m_saveFailureShown = false;
    m_parts.notificationCenter->post(MHInternalNotifications::MHDataDidSaveToDisk, context);
    return true;
}
