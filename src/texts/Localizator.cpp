#include "texts/Localizator.h"

#include "foundation/PropertyList.h"

#include "foundation/Log.h"
#include "foundation/MHErrors.h"
#include "foundation/MHExecuteNotifications.h"
#include "foundation/MHNumberFormatter.h"
#include "foundation/MHUserSettingsKeys.h"
#include "foundation/PropertyList.h"
#include "foundation/UserDefaults.h"
#include "model/MHTextStorageKeys.h"
#include "model/DBConditionalPreviousItem.h"
#include "model/DBFileItem.h"
#include "model/DBLoginItem.h"
#include "model/DBScheduledConditionData.h"
#include "model/DBScheduledConditionDataItem.h"
#include "model/DBStartupCondition.h"
#include "model/DBWaitPreviousItem.h"
#include "model/ObjectContext.h"
#include "model/SystemItemHelping.h"
#include "texts/DatabaseBackupReading.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <cmath>
#include <limits>

namespace {

QString localized(const char* english)
{
    return QCoreApplication::translate("Localizator", english);
}

QStringList namesOfItems(const QList<DBLoginItem*>& items)
{
    QStringList names;
    for (const DBLoginItem* item : items)
        names.append(item ? item->itemNiceDisplayName() : QString());
    return names;
}

QStringList namesOfConditions(const QList<DBStartupCondition*>& conditions)
{
    QStringList names;
    for (const DBStartupCondition* condition : conditions)
        names.append(condition ? condition->conditionName() : QString());
    return names;
}

QString nameOfOwningCondition(const DBScheduledConditionDataItem& dataItem)
{
    const DBScheduledConditionData* data = dataItem.scheduleConditionData();
    const DBStartupCondition* condition = data ? data->scheduleStartupCondition() : nullptr;
    return condition ? condition->conditionName() : QString();
}

// Negative and non-finite values (a countdown that overshot, a hand-edited
// setting) count as 0 rather than wrapping around.
double sanitizedSeconds(double seconds)
{
    return std::isfinite(seconds) && seconds > 0 ? seconds : 0;
}

quint64 wholeNumber(double value)
{
    const double truncated = std::trunc(sanitizedSeconds(value));
    constexpr double limit = static_cast<double>(std::numeric_limits<quint64>::max());
    return truncated >= limit ? std::numeric_limits<quint64>::max() : static_cast<quint64>(truncated);
}

double remainingTime(const Notification& notification)
{
    return notification.userInfo.value(MHExecuteNotifications::remainingTime).toDouble();
}

} // namespace

Localizator& Localizator::shared()
{
    static Localizator instance;
    return instance;
}

// --- Counting ---------------------------------------------------------------

QString Localizator::formattedUnsignedInteger(quint64 value)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value);
}

QString Localizator::formattedDescriptionForItemNames(const QStringList& names) const
{
    return names.size() == 1 ? names.first() : formattedUnsignedInteger(static_cast<quint64>(names.size()));
}

QString Localizator::formattedDescriptionForLoginItems(const QList<DBLoginItem*>& items) const
{
    return formattedDescriptionForItemNames(namesOfItems(items));
}

QString Localizator::formattedDescriptionForStartupConditions(const QList<DBStartupCondition*>& conditions) const
{
    return formattedDescriptionForItemNames(namesOfConditions(conditions));
}

QString Localizator::formattedDescriptionForLoginItems(const QStringList& names, const QString& format,
                                                       int numberOfIndividualItemDescriptions) const
{
    if (numberOfIndividualItemDescriptions >= 2 && names.size() == numberOfIndividualItemDescriptions)
        return format.arg(names.at(0), names.at(1));
    return format.arg(formattedDescriptionForItemNames(names));
}

QString Localizator::oneOrMany(const QStringList& names, const char* one, const char* many) const
{
    return localized(names.size() == 1 ? one : many).arg(formattedDescriptionForItemNames(names));
}

QString Localizator::noneOneOrMany(const QStringList& names, const char* none, const char* one, const char* many) const
{
    return names.isEmpty() ? localized(none) : oneOrMany(names, one, many);
}

// --- Errors -----------------------------------------------------------------

QString Localizator::errorDescriptionForFailedFileItemLaunch(const QString& itemName) const
{
    return localized("Launching %1 failed!").arg(itemName);
}

QString Localizator::errorDescriptionForUnkeptRun() const
{
    return localized("The run journal cannot be written: should Lanternwick stop before this run ends, its next start runs the items again.");
}

QString Localizator::errorDescriptionForFailedTextStorageLoading() const
{
    return localized("Failed opening Lanternwick database!");
}

QString Localizator::notificationTitleForFailedSave() const
{
    return localized("Failed saving Lanternwick database!");
}

QString Localizator::notificationTitleForRefusedText() const
{
    return localized("Lanternwick can't keep this name!");
}

QString Localizator::notificationTextForRefusedText(const QString& text) const
{
    return localized("\"%1\" holds control characters the database can't store, so it was not added or changed.")
        .arg(PropertyList::holdableString(text));
}

QString Localizator::notificationTextForFailedSaveWithError(const Error& error) const
{
    return localized("Your latest changes are not on disk yet (%1). Lanternwick tries again at the next change and when it quits.")
        .arg(error.description());
}

QString Localizator::errorForFailedDatabaseInitializationDeleteButton() const
{
    return localized("Delete database");
}

QString Localizator::errorForFailedDatabaseInitializationQuitButton() const
{
    return localized("Quit and attempt manual recovery");
}

QString Localizator::errorForFailedDatabaseInitializationRestoreButton() const
{
    return localized("Restore");
}

QString Localizator::errorDescriptionForFailedDatabaseInitialization() const
{
    return localized("Failed opening Lanternwick database!");
}

QString Localizator::simpleErrorRecoverySuggestionForFailedDatabaseInitialization() const
{
    return localized("Database file seems to be corrupted. You can quit Lanternwick and restore the database manually "
                     "from a backup such as Déjà Dup. If this doesn't work I can delete corrupted files and start "
                     "from scratch (WARNING: you will have to rebuild your items list and startup conditions!)\n\n"
                     "(path to database is %1)")
        .arg(databaseFolderForDisplay());
}

Error Localizator::errorForFailedCoreDataInitializationWithRecoveryAttempter(const QStringList& recoveryOptions) const
{
    Error error(Error::lanternwickDomain(), MHErrors::MHErrorCodeCoreDataInitializationFailed,
                errorDescriptionForFailedDatabaseInitialization(),
                simpleErrorRecoverySuggestionForFailedDatabaseInitialization());
    error.setRecoveryOptions(recoveryOptions);
    return error;
}

Error Localizator::errorForFailedTextStorageInitializationWithRecoveryAttempter(const QStringList& recoveryOptions,
                                                                                bool canRestoreFromBackup) const
{
    const QString suggestion = canRestoreFromBackup
        ? localized("Database file seems to be corrupted. Would you like to restore it from last backup?\n\n"
                    "Alternatively you can quit Lanternwick and restore the database manually from a backup such as "
                    "Déjà Dup. If nothing else works, I can delete corrupted files and start from scratch "
                    "(WARNING: you will have to rebuild your items list and startup conditions!)\n\n"
                    "(path to database is %1)")
              .arg(databaseFolderForDisplay())
        : simpleErrorRecoverySuggestionForFailedDatabaseInitialization();
    Error error(Error::lanternwickDomain(), MHErrors::MHErrorCodeTextStorageInitializationFailed,
                errorDescriptionForFailedDatabaseInitialization(), suggestion);
    error.setRecoveryOptions(recoveryOptions);
    return error;
}

Error Localizator::errorForFailedDataFolderWithRecoveryAttempter(const QStringList& recoveryOptions, const Error& cause) const
{
    Error error(Error::lanternwickDomain(), MHErrors::MHErrorCodeTextStorageInitializationFailed,
                errorDescriptionForFailedDatabaseInitialization(),
                localized("Lanternwick can't make the folder that keeps your items and startup conditions (%1). Make sure "
                          "your home folder can be written and that no file stands where a folder of that path belongs, "
                          "then start Lanternwick again.")
                    .arg(databaseFolderForDisplay()));
    error.setRecoveryOptions(recoveryOptions);
    error.addUnderlyingError(cause);
    return error;
}

Error Localizator::errorForFailedDatabaseRestoreRevertWithUnderlyingError(const Error& underlyingError) const
{
    Error error(Error::lanternwickDomain(), MHErrors::MHErrorCodeDatabaseRestoreFailed,
                localized("Can't revert from failed data restore!"),
                localized("You can manually restore by renaming temporary file:\n\n"
                          "Rename: ~temporary-backup~.plist\nTo: Lanternwick.plist\nIn folder: %1\n\n"
                          "Or contact support via main menu 'Help > Contact Support'! We're sorry for inconvenience...")
                    .arg(databaseFolderForDisplay()));
    error.addUnderlyingError(underlyingError);
    return error;
}

Error Localizator::errorForFailedDatabaseRestoreWithUnderlyingError(const Error& underlyingError) const
{
    Error error(Error::lanternwickDomain(), MHErrors::MHErrorCodeDatabaseRestoreFailed,
                localized("Failed restoring data from backup!"),
                localized("Your data was not changed so you can continue using Lanternwick."));
    error.addUnderlyingError(underlyingError);
    return error;
}

Error Localizator::errorForFailedOldDatabaseConversionWithUnderlyingError(const Error& underlyingError) const
{
    Error error(Error::lanternwickDomain(), MHErrors::MHErrorCodeTextStorageLoadingFailed, localized("Failed converting the old Lanternwick database!"),
                localized("The old database is kept as it was (Lanternwick.data in %1). Lanternwick starts with an empty list, "
                          "and what you change now is kept in a new database beside it. Contact support via main menu "
                          "'Help > Contact Support' to get your old items back. (%2)")
                    .arg(databaseFolderForDisplay(), underlyingError.description()));
    error.addUnderlyingError(underlyingError);
    return error;
}

QString Localizator::oldDatabaseConversionChangesTitle() const
{
    return localized("Some startup conditions could not be converted as they were!");
}

QString Localizator::oldDatabaseConversionChangesText(const QVariantMap& changed, const SystemItemHelping& helpers) const
{
    QStringList names;
    for (const QVariant& condition : changed.value(MHTextStorageKeys::conditions).toList())
        names.append(QStringLiteral("\"%1\"").arg(condition.toMap().value(MHTextStorageKeys::conditionName).toString()));
    const QString items = stringDescriptionFromDatabase(changed, helpers);
    return localized("Lanternwick converted your old database, but not these conditions as they were: %1. A condition whose "
                     "settings were lost now keeps its items from starting until you change it or remove it from them; a "
                     "character Lanternwick can't store in a name is shown as \uFFFD.\n\n%2")
        .arg(names.join(QStringLiteral(", ")), items.isEmpty() ? localized("No item uses them.") : localized("Items that use them:\n%1").arg(items));
}

Error Localizator::errorForFailedRelaunch(const QString& reason) const
{
    Error error(Error::lanternwickDomain(), MHErrors::MHErrorCodeUnassigned, localized("Lanternwick could not restart!"),
                localized("Quit Lanternwick and start it again. (%1)").arg(reason));
    return error;
}

Error Localizator::errorForRunningInAnotherSession() const
{
    return Error(Error::lanternwickDomain(), MHErrors::MHErrorCodeUnassigned, localized("Lanternwick is already running in another session!"),
                 localized("Only one Lanternwick at a time can look after your login items, or the two would undo each other's "
                           "changes. Quit Lanternwick in the other session, then start it here again."));
}

QString Localizator::databaseFolderForDisplay()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Lanternwick");
    const QString home = QDir::homePath();
    if (!home.isEmpty() && home != QStringLiteral("/") && folder.startsWith(home + QLatin1Char('/')))
        return QLatin1Char('~') + folder.mid(home.size());
    return folder;
}

// --- Names ------------------------------------------------------------------

QString Localizator::ignoreLoginGroupDisplayName() const
{
    return localized("Ignored Items");
}

QString Localizator::applicationLoginGroupDisplayName() const
{
    return localized("Application Items");
}

QString Localizator::startupConditionDefaultName() const
{
    return localized("New Condition");
}

QString Localizator::delayItemNiceDisplayNameForDelay(double delay) const
{
    // Shown to one decimal; "+ 0.0" keeps a delay that rounds to zero from
    // reading "-0".
    const double oneDecimal = std::round(delay * 10) / 10 + 0.0;
    const QString number = MHNumberFormatter().stringForObjectValue(oneDecimal);
    return localized(std::round(oneDecimal) == 1 ? "%1 second delay" : "%1 seconds delay").arg(number);
}

QString Localizator::waitPreviousItemNiceDisplayName(const DBWaitPreviousItem& item) const
{
    const ObjectContext* context = item.managedObjectContext();
    const DBLoginItem* before = context ? context->loginItemImmediatelyBeforeItem(item) : nullptr;
    const DBLoginItem* after = context ? context->loginItemImmediatelyAfterItem(item) : nullptr;
    if (!before || !after)
        return localized("Drag me between two items!");
    return localized("Wait until %1 launches").arg(before->itemNiceDisplayName());
}

QString Localizator::conditionalPreviousItemNiceDisplayName(const DBConditionalPreviousItem& item) const
{
    const ObjectContext* context = item.managedObjectContext();
    const DBLoginItem* before = context ? context->loginItemImmediatelyBeforeItem(item) : nullptr;
    const DBLoginItem* after = context ? context->loginItemImmediatelyAfterItem(item) : nullptr;
    if (!before || !after)
        return localized("Drag me between two items!");
    const bool unsupported = before->loginItemType() == LoginItemTypeConditionalPrevious
        || after->loginItemType() == LoginItemTypeWaitPrevious || after->loginItemType() == LoginItemTypeConditionalPrevious;
    if (!unsupported) {
        switch (item.itemModeValue()) {
        case ConditionalPreviousItemModeIfLaunched:
            return localized("Launch %1 only if %2 will launch").arg(after->itemNiceDisplayName(), before->itemNiceDisplayName());
        case ConditionalPreviousItemModeIfNotLaunched:
            return localized("Launch %1 only if %2 will NOT launch").arg(after->itemNiceDisplayName(), before->itemNiceDisplayName());
        default:
            break;
        }
    }
    return localized("Drag me between two supported items!");
}

QString Localizator::nameForURL(const QUrl& url) const
{
    // On Linux the file system's display name of a file is its file name.
    const QString name = QFileInfo(QDir::cleanPath(url.path())).fileName();
    if (!url.isLocalFile() || !QFileInfo::exists(url.toLocalFile())) {
        LOG_VERBOSE("Failed retrieving name for %1, reverting to last path component.", url.toString());
        LOG_VERBOSE("Error was: %1", url.isLocalFile() ? QStringLiteral("No such file") : QStringLiteral("Not a local file"));
    }
    return name;
}

QString Localizator::niceDescriptionStringForMissingItem() const
{
    return localized("Item is missing!");
}

QString Localizator::networkStartupConditionNameForInternetConnection() const
{
    return localized("Internet Connection");
}

QString Localizator::versionStringTemplate() const
{
    return localized("Version %1 (%2)");
}

QString Localizator::createFileItemOpenPanelTitle() const
{
    return localized("Import");
}

// --- Times ------------------------------------------------------------------

QString Localizator::millisecondsFromNumber(double seconds) const
{
    // Rounded: 0.9 s is 899.99... ms in binary.
    return localized("%1 ms").arg(formattedUnsignedInteger(wholeNumber(std::round(sanitizedSeconds(seconds) * 1000))));
}

QString Localizator::secondsFromNumber(double seconds) const
{
    const quint64 whole = wholeNumber(seconds);
    return localized(whole == 1 ? "%1 second" : "%1 seconds").arg(formattedUnsignedInteger(whole));
}

QString Localizator::minutesFromNumber(double seconds) const
{
    const quint64 minutes = wholeNumber(seconds) / 60;
    return localized(minutes == 1 ? "%1 minute" : "%1 minutes").arg(formattedUnsignedInteger(minutes));
}

QString Localizator::timeStringForSeconds(double seconds) const
{
    // Rounded to the millisecond before the unit is picked: 0.9996 s is
    // "1 second", never "1000 ms".
    const double value = std::round(sanitizedSeconds(seconds) * 1000) / 1000;
    if (value < 1)
        return millisecondsFromNumber(value);
    if (value < 60)
        return secondsFromNumber(value);
    return minutesFromNumber(value);
}

QString Localizator::preciseTimeStringForSeconds(double seconds) const
{
    const quint64 whole = wholeNumber(seconds);
    if (whole <= 59)
        return timeStringForSeconds(seconds);
    const quint64 rest = whole % 60;
    const QString restText = formattedUnsignedInteger(rest);
    return localized("%1:%2").arg(formattedUnsignedInteger(whole / 60), rest < 10 ? QLatin1Char('0') + restText : restText);
}

// --- Status lines -----------------------------------------------------------

QString Localizator::executeInfoStringForDelayDidStart(const Notification&) const
{
    return localized("Waiting for execution...");
}

QString Localizator::executeInfoStringForDelayDidTick(const Notification& notification) const
{
    return localized("Launching items in %1...").arg(preciseTimeStringForSeconds(remainingTime(notification)));
}

QString Localizator::executeInfoStringForDelayDidEnd(const Notification&) const
{
    return localized("Starting execution...");
}

QString Localizator::executeInfoStringForItemsDidStart(const Notification&) const
{
    return localized("Starting execution...");
}

QString Localizator::executeInfoStringForItemDidStart(const Notification& notification) const
{
    const QVariantMap& info = notification.userInfo;
    // A notification without a type is none of the named kinds.
    const QVariant type = info.value(MHExecuteNotifications::itemType);
    if (type.isValid() && type.toInt() == LoginItemTypeFile)
        return localized("Launching %1...").arg(info.value(MHExecuteNotifications::itemDisplayName).toString());
    if (type.isValid() && type.toInt() == LoginItemTypeWaitPrevious)
        return localized("Waiting for %1 to launch...").arg(info.value(MHExecuteNotifications::previousItemDisplayName).toString());
    return executeInfoStringForItemDidTick(notification);
}

QString Localizator::executeInfoStringForItemDidTick(const Notification& notification) const
{
    return localized("Delay %1...").arg(timeStringForSeconds(remainingTime(notification)));
}

QString Localizator::executeInfoStringForItemsDidEnd(const Notification&) const
{
    return localized("Finished...");
}

QString Localizator::autoCloseInfoStringForDidStart(const Notification& notification) const
{
    if (notification.userInfo.contains(MHExecuteNotifications::remainingTime))
        return autoCloseInfoStringForDidTick(notification);
    return localized("Checking for update...");
}

QString Localizator::autoCloseInfoStringForDidTick(const Notification& notification) const
{
    return localized("Closing in %1...").arg(timeStringForSeconds(remainingTime(notification)));
}

QString Localizator::autoCloseInfoStringForDidEnd(const Notification&) const
{
    return localized("Closing...");
}

// --- Warnings ---------------------------------------------------------------

QString Localizator::warningStringForLanternwickDisabledState() const
{
    return localized("Lanternwick is disabled, login items will not be handled automatically now!");
}

QString Localizator::warningStringForExecutionDisabledState() const
{
    return localized("Launching of items is disabled, enable at least one option to let Lanternwick launch items automatically!");
}

QString Localizator::warningStringForDockModeRestartRequired() const
{
    return localized("You must restart Lanternwick in order to change to system tray mode. We're sorry for inconvenience...");
}

QString Localizator::warningStringForNetworkConditions() const
{
    return localized("Network based startup conditions require couple of seconds to detect networks, increase 'Delay "
                     "items launch' value for more reliable behavior.");
}

QString Localizator::warningStringForMissingSystemTray() const
{
    return localized("This desktop has no system tray, so Lanternwick stays in the task bar.");
}

// --- Undo action names ------------------------------------------------------

QString Localizator::undoActionForRenamingFrom(const QString& oldName, const QString& newName) const
{
    return localized("Rename %1 to %2").arg(oldName, newName);
}

QString Localizator::undoActionForMarkingSystemItemsAsIgnored(const QList<DBLoginItem*>& items) const
{
    return oneOrMany(namesOfItems(items), "Mark %1 as Ignored", "Mark %1 Items as Ignored");
}

QString Localizator::undoActionForCreatingFileItems(const QList<DBLoginItem*>& items) const
{
    return oneOrMany(namesOfItems(items), "Add %1", "Add %1 Items");
}

QString Localizator::undoActionForCreatingDelayItems(const QList<DBLoginItem*>& items) const
{
    return oneOrMany(namesOfItems(items), "Add %1", "Add %1 Delay Items");
}

QString Localizator::undoActionForCreatingWaitPreviousItems(const QList<DBLoginItem*>& items) const
{
    return oneOrMany(namesOfItems(items), "Add %1", "Add %1 Wait Previous Items");
}

QString Localizator::undoActionForCreatingConditionalPreviousItems(const QList<DBLoginItem*>& items) const
{
    return oneOrMany(namesOfItems(items), "Add %1", "Add %1 Conditional Previous Items");
}

QString Localizator::undoActionForDeletingLoginItems(const QList<DBLoginItem*>& items) const
{
    return oneOrMany(namesOfItems(items), "Delete %1", "Delete %1 Items");
}

QString Localizator::undoActionForDeletingIgnoredItems(const QList<DBLoginItem*>& items) const
{
    return oneOrMany(namesOfItems(items), "Delete %1", "Delete %1 Ignored Items");
}

QString Localizator::undoActionForMovingLoginItems(const QList<DBLoginItem*>& items) const
{
    return oneOrMany(namesOfItems(items), "Reorder %1", "Reorder %1 Items");
}

QString Localizator::undoActionForMovingIgnoreItems(const QList<DBLoginItem*>& items) const
{
    return oneOrMany(namesOfItems(items), "Reorder %1", "Reorder %1 Ignored Items");
}

QString Localizator::undoActionForMovingApplicationItemsToSystemPreferences(const QList<DBLoginItem*>& items) const
{
    return oneOrMany(namesOfItems(items), "Move %1 To Startup Applications", "Move %1 Items To Startup Applications");
}

QString Localizator::undoActionForMovingApplicationItemsToIgnoreGroup(const QList<DBLoginItem*>& items) const
{
    return oneOrMany(namesOfItems(items), "Move %1 To Ignored Items", "Move %1 Items To Ignored Items");
}

QString Localizator::undoActionForMovingIgnoreItemsToApplicationGroup(const QList<DBLoginItem*>& items) const
{
    return oneOrMany(namesOfItems(items), "Move %1 To Lanternwick Items", "Move %1 Ignored Items To Lanternwick Items");
}

QString Localizator::undoActionForChangingFileItemStartupMode(const DBFileItem& item) const
{
    const char* text = "Change %1 Startup Mode To Disabled";
    if (item.itemStartupModeValue() == ItemStartupModeShown)
        text = "Change %1 Startup Mode To Shown";
    else if (item.itemStartupModeValue() == ItemStartupModeHidden)
        text = "Change %1 Startup Mode To Hidden";
    return localized(text).arg(item.itemNiceDisplayName());
}

QString Localizator::undoActionForChangingFileItemsStartupMode(const QList<DBFileItem*>& items) const
{
    if (items.size() == 1 && items.first())
        return undoActionForChangingFileItemStartupMode(*items.first());
    // The whole selection takes the mode the first item was given.
    const int32_t mode = !items.isEmpty() && items.first() ? items.first()->itemStartupModeValue() : ItemStartupModeShown;
    const char* text = "Change %1 Items Startup Mode To Disabled";
    if (mode == ItemStartupModeShown)
        text = "Change %1 Items Startup Mode To Shown";
    else if (mode == ItemStartupModeHidden)
        text = "Change %1 Items Startup Mode To Hidden";
    return localized(text).arg(formattedUnsignedInteger(static_cast<quint64>(items.size())));
}

QString Localizator::undoActionForChangingDelayItemDelay() const
{
    return localized("Change Delay Value");
}

QString Localizator::undoActionForChangingConditionalPreviousItemMode() const
{
    return localized("Change conditional item mode");
}

QString Localizator::undoActionForAddingStartupCondition(const DBStartupCondition& condition, const DBLoginItem& item) const
{
    return localized("Add %1 To %2").arg(condition.conditionName(), item.itemNiceDisplayName());
}

QString Localizator::undoActionForRemovingStartupCondition(const DBStartupCondition& condition, const DBLoginItem& item) const
{
    return localized("Remove %1 From %2").arg(condition.conditionName(), item.itemNiceDisplayName());
}

QString Localizator::undoActionForPastingStartupConditions(const QList<DBStartupCondition*>& conditions,
                                                           const QList<DBLoginItem*>& items) const
{
    const QString what = oneOrMany(namesOfConditions(conditions), "%1", "%1 Conditions");
    const QString where = oneOrMany(namesOfItems(items), "%1", "%1 Items");
    return localized("Paste %1 To %2").arg(what, where);
}

QString Localizator::undoActionForCreatingScheduledStartupCondition() const
{
    return localized("Create Scheduled Condition");
}

QString Localizator::undoActionForCreatingHotkeyStartupCondition() const
{
    return localized("Create Hotkey Condition");
}

QString Localizator::undoActionForCreatingPowerSourceStartupCondition() const
{
    return localized("Create Power Source Condition");
}

QString Localizator::undoActionForCreatingMountedVolumeStartupCondition() const
{
    return localized("Create Mounted Volume Startup Condition");
}

QString Localizator::undoActionForCreatingNetworkStartupCondition() const
{
    return localized("Create Network Startup Condition");
}

QString Localizator::undoActionForMovingStartupConditions(const QList<DBStartupCondition*>& conditions) const
{
    return oneOrMany(namesOfConditions(conditions), "Reorder %1", "Reorder %1 Conditions");
}

QString Localizator::undoActionForDeletingStartupConditions(const QList<DBStartupCondition*>& conditions) const
{
    return oneOrMany(namesOfConditions(conditions), "Delete %1", "Delete %1 Conditions");
}

QString Localizator::undoActionForChangingScheduleDayForDataItem(const DBScheduledConditionDataItem& dataItem) const
{
    return localized("Change Schedule Day For %1").arg(nameOfOwningCondition(dataItem));
}

QString Localizator::undoActionForChangingScheduleFromTimeForDataItem(const DBScheduledConditionDataItem& dataItem) const
{
    return localized("Change Schedule From Time For %1").arg(nameOfOwningCondition(dataItem));
}

QString Localizator::undoActionForChangingScheduleToTimeForDataItem(const DBScheduledConditionDataItem& dataItem) const
{
    return localized("Change Schedule To Time For %1").arg(nameOfOwningCondition(dataItem));
}

QString Localizator::undoActionForAddingScheduledConditionDataItem(const DBStartupCondition& toStartupCondition) const
{
    return localized("Add Schedule Item To %1").arg(toStartupCondition.conditionName());
}

QString Localizator::undoActionForRemovingScheduledConditionDataItem(const DBStartupCondition& fromStartupCondition) const
{
    return localized("Remove Schedule Item From %1").arg(fromStartupCondition.conditionName());
}

QString Localizator::undoActionForChangingHotkeyStatusForCondition(const DBStartupCondition& condition) const
{
    return localized("Change Hotkey Status For %1").arg(condition.conditionName());
}

QString Localizator::undoActionForChangingHotkeyCombinationForCondition(const DBStartupCondition& condition) const
{
    return localized("Change Hotkey Combination For %1").arg(condition.conditionName());
}

QString Localizator::undoActionForChangingPowerSourceCombinationForCondition(const DBStartupCondition& condition) const
{
    return localized("Change Power Source For %1").arg(condition.conditionName());
}

QString Localizator::undoActionForChangingVolumePathForCondition(const DBStartupCondition& condition) const
{
    return localized("Change Volume For %1").arg(condition.conditionName());
}

QString Localizator::undoActionForChangingVolumeStatusForCondition(const DBStartupCondition& condition) const
{
    return localized("Change Volume Status For %1").arg(condition.conditionName());
}

QString Localizator::undoActionForChangingNetworkNameForCondition(const DBStartupCondition& condition) const
{
    return localized("Change Network For %1").arg(condition.conditionName());
}

QString Localizator::undoActionForChangingNetworkModeForCondition(const DBStartupCondition& condition) const
{
    return localized("Change Network Mode For %1").arg(condition.conditionName());
}

QString Localizator::undoActionForChangingNetworkStatusForCondition(const DBStartupCondition& condition) const
{
    return localized("Change Network Status For %1").arg(condition.conditionName());
}

// --- Menu item titles -------------------------------------------------------

QString Localizator::menuItemTitleForMovingIgnoredItemsToSystemPreferences(const QList<DBLoginItem*>& items) const
{
    return noneOneOrMany(namesOfItems(items), "Copy Selection To Startup Applications", "Copy %1 To Startup Applications",
                         "Copy %1 Items To Startup Applications");
}

QString Localizator::menuItemTitleForMovingToSystemPreferencesWhenNothingIsSelected() const
{
    return localized("Move Selection To Startup Applications");
}

QString Localizator::menuItemTitleForMovingToIgnoredGroupWhenNothingIsSelected() const
{
    return localized("Move Selection To Ignored Items");
}

QString Localizator::menuItemTitleforDeletingWhenNothingIsSelected() const
{
    return localized("Delete Selection");
}

QString Localizator::menuItemTitleForMovingApplicationItemsToSystemPreferences(const QList<DBLoginItem*>& items) const
{
    return noneOneOrMany(namesOfItems(items), "Move Selection To Startup Applications", "Move %1 To Startup Applications",
                         "Move %1 Items To Startup Applications");
}

QString Localizator::menuItemTitleForMovingApplicationItemsToIgnoredGroup(const QList<DBLoginItem*>& items) const
{
    return noneOneOrMany(namesOfItems(items), "Move Selection To Ignored Items", "Move %1 To Ignored Items",
                         "Move %1 Items To Ignored Items");
}

QString Localizator::menuItemTitleForMovingIgnoredItemsToApplicationGroup(const QList<DBLoginItem*>& items) const
{
    return noneOneOrMany(namesOfItems(items), "Move Selection To Lanternwick Items", "Move %1 To Lanternwick Items",
                         "Move %1 Ignored Items To Lanternwick Items");
}

QString Localizator::menuItemTitleForDeletingSystemItems(const QStringList& itemNames) const
{
    return noneOneOrMany(itemNames, "Delete Selection", "Delete %1 from Startup Applications...",
                         "Delete %1 Items from Startup Applications...");
}

QString Localizator::menuItemTitleForDeletingLoginItems(const QList<DBLoginItem*>& items) const
{
    return noneOneOrMany(namesOfItems(items), "Delete Selection", "Delete %1", "Delete %1 Items");
}

QString Localizator::menuItemTitleForDeletingIgnoredItems(const QList<DBLoginItem*>& items) const
{
    return noneOneOrMany(namesOfItems(items), "Delete Selection", "Delete %1", "Delete %1 Ignored Items");
}

QString Localizator::menuItemTitleForDeletingStartupConditions(const QList<DBStartupCondition*>& conditions) const
{
    return noneOneOrMany(namesOfConditions(conditions), "Delete Selection", "Delete %1", "Delete %1 Conditions");
}

QString Localizator::menuItemTitleForTogglinngSimulationMode(bool isSimulationActive) const
{
    return localized(isSimulationActive ? "Exit Launch Simulation Mode" : "Enter Launch Simulation Mode");
}

QString Localizator::menuItemTitleForUndo(const QString& actionName) const
{
    return actionName.isEmpty() ? localized("Undo") : localized("Undo %1").arg(actionName);
}

QString Localizator::menuItemTitleForRedo(const QString& actionName) const
{
    return actionName.isEmpty() ? localized("Redo") : localized("Redo %1").arg(actionName);
}

// --- Windows -----------------------------------------------------------------

QString Localizator::windowText(WindowText text) const
{
    switch (text) {
    case WindowText::FileMenu:
        return localized("&File");
    case WindowText::EditMenu:
        return localized("&Edit");
    case WindowText::ItemsMenu:
        return localized("&Items");
    case WindowText::ViewMenu:
        return localized("&View");
    case WindowText::ImportMenuItem:
        return localized("Import...");
    case WindowText::NewDelayItemMenuItem:
        return localized("New Delay Item");
    case WindowText::NewWaitPreviousItemMenuItem:
        return localized("New Wait Previous Item");
    case WindowText::NewConditionalPreviousItemMenuItem:
        return localized("New Conditional Previous Item");
    case WindowText::CloseWindowMenuItem:
        return localized("Close Window");
    case WindowText::QuitMenuItem:
        return localized("Quit");
    case WindowText::UnselectAllMenuItem:
        return localized("Unselect All");
    case WindowText::CopyMenuItem:
        return localized("Copy");
    case WindowText::PasteMenuItem:
        return localized("Paste");
    case WindowText::PasteAndAppendStartupConditionsMenuItem:
        return localized("Paste and Append Startup Conditions");
    case WindowText::StartShownMenuItem:
        return localized("Start Shown");
    case WindowText::StartHiddenMenuItem:
        return localized("Start Hidden");
    case WindowText::StartDisabledMenuItem:
        return localized("Disabled");
    case WindowText::LaunchSelectedItemsMenuItem:
        return localized("Launch Selected Items");
    case WindowText::MoveUpMenuItem:
        return localized("Move Up");
    case WindowText::MoveDownMenuItem:
        return localized("Move Down");
    case WindowText::CancelLaunchMenuItem:
        return localized("Cancel Launch");
    case WindowText::CancelAutoCloseMenuItem:
        return localized("Cancel Auto Close");
    case WindowText::ItemsPageMenuItem:
        return localized("Items");
    case WindowText::SystemItemsPageMenuItem:
    case WindowText::SystemItems:
        return localized("System Items");
    case WindowText::SystemItemsHeaderTitle:
        return localized("New items in Startup Applications");
    case WindowText::SystemItemsHeaderText:
        return localized("These items were added to Startup Applications outside Lanternwick. Move them to Lanternwick to "
                         "start them with your other items, mark them as ignored to leave them where they are, or delete them.");
    case WindowText::MoveToLanternwickMenuItem:
        return localized("Move to Lanternwick");
    case WindowText::MarkAsIgnoredMenuItem:
        return localized("Mark as Ignored");
    case WindowText::HelpMenu:
        return localized("&Help");
    case WindowText::LaunchItemsNowMenuItem:
        return localized("Launch Items Now");
    case WindowText::DisableLanternwickMenuItem:
        return localized("Disable Lanternwick and Move Items to Startup Applications...");
    case WindowText::RestoreDatabaseMenuItem:
        return localized("Restore Database from Backup...");
    case WindowText::PreferencesMenuItem:
        return localized("Preferences...");
    case WindowText::MainWindowMenuItem:
        return localized("Main Window");
    case WindowText::WelcomeMenuItem:
        return localized("Welcome to Lanternwick");
    case WindowText::ContactSupportMenuItem:
        return localized("Contact Support...");
    case WindowText::AboutMenuItem:
        return localized("About Lanternwick");
    case WindowText::GeneralToolbarLabel:
        return localized("General");
    case WindowText::LookAndFeelToolbarLabel:
        return localized("Look & feel");
    case WindowText::IgnoredItemsToolbarLabel:
        return localized("Ignored Items");
    case WindowText::UpdateToolbarLabel:
        return localized("Update");
    case WindowText::EnableLanternwick:
        return localized("Enable Lanternwick (handle login items)");
    case WindowText::LaunchAfterLogin:
        return localized("Launch items after login");
    case WindowText::LaunchAfterWake:
        return localized("Launch items after waking from sleep");
    case WindowText::DelayBeforeLaunch:
        return localized("Delay items launch by:");
    case WindowText::AutoClose:
        return localized("Quit Lanternwick after launching items, in:");
    case WindowText::DelayBetweenItems:
        return localized("Pause between items:");
    case WindowText::ShowMainWindowAtStart:
        return localized("Show the main window at start");
    case WindowText::LaunchOnManualStart:
        return localized("Launch items also when Lanternwick is started by hand");
    case WindowText::GeneralHelp:
        return localized("Help on general preferences");
    case WindowText::RunMode:
        return localized("Show Lanternwick:");
    case WindowText::RunModeTaskBar:
        return localized("In the task bar");
    case WindowText::RunModeTray:
        return localized("As an icon in the system tray");
    case WindowText::RestartNow:
        return localized("Restart Now");
    case WindowText::ItemsListSize:
        return localized("Items list rows:");
    case WindowText::ItemsListSizeNormal:
        return localized("Normal");
    case WindowText::ItemsListSizeSmall:
        return localized("Small");
    case WindowText::LogVerbosity:
        return localized("Log verbosity:");
    case WindowText::LogVerbosityErrors:
        return localized("Errors and warnings");
    case WindowText::LogVerbosityNormal:
        return localized("Normal");
    case WindowText::LogVerbosityVerbose:
        return localized("Verbose");
    case WindowText::LogVerbosityDebug:
        return localized("Debug");
    case WindowText::LookAndFeelHelp:
        return localized("Help on look & feel preferences");
    case WindowText::IgnoredItemsHelp:
        return localized("Help on ignored items preferences");
    case WindowText::IgnoredItemsMoveToApplicationItems:
        return localized("Move To Lanternwick Items");
    case WindowText::IgnoredItemsCopyToStartupApplications:
        return localized("Copy To Startup Applications");
    case WindowText::IgnoredItemsDelete:
        return localized("Delete");
    case WindowText::UpdatesFromPackageManager:
        return localized("Lanternwick is updated by your system's package manager, together with the rest of your "
                         "software. There is nothing to set here.");
    case WindowText::ShowWelcomeWindowAtStart:
        return localized("Show this window at start");
    case WindowText::WelcomeTitle:
        return localized("Welcome to Lanternwick");
    case WindowText::WelcomeText:
        return localized("Lanternwick takes over your login items: it opens your applications and documents one after "
                         "another at login, with delays, waits and startup conditions you choose.\n\n"
                         "Move items from the session's autostart list into Lanternwick's list in the main window, "
                         "then arrange them and give them conditions.");
    case WindowText::WelcomeHelp:
        return localized("Help on getting started");
    case WindowText::AboutTitle:
        return localized("About Lanternwick");
    case WindowText::Acknowledgements:
        return localized("Acknowledgements");
    case WindowText::FeedbackTitle:
        return localized("Contact Support");
    case WindowText::FeedbackText:
        return localized("Describe what happened and send it to support together with the logs and the database "
                         "below. Nothing is sent from here: copy what you want to send.");
    case WindowText::FeedbackLogs:
        return localized("Latest logs");
    case WindowText::FeedbackDatabase:
        return localized("Database");
    case WindowText::FeedbackCopy:
        return localized("Copy All");
    }
    return {};
}

// --- End-of-run user notification -------------------------------------------

QString Localizator::userNotificationExecutionEndedTitle() const
{
    return localized("Launch complete");
}

QString Localizator::userNotificationExecutionEndedInfoTextWithLaunchedItems(const QStringList& failedItemNames) const
{
    switch (failedItemNames.size()) {
    case 0:
        return localized("Items launch complete.");
    case 1:
        return formattedDescriptionForLoginItems(failedItemNames, localized("Items launch complete, failed %1."), 2);
    case 2:
        return formattedDescriptionForLoginItems(failedItemNames, localized("Items launch complete, failed %1 and %2."), 2);
    default:
        return formattedDescriptionForLoginItems(failedItemNames, localized("Items launch complete, failed %1 items."), 2);
    }
}

// --- Dialogs ----------------------------------------------------------------

bool Localizator::runConfirmationDialog(DialogPresenter& presenter, const char* skipKey, const QString& displayingLog,
                                        const QString& suppressedLog, const DialogPresenter::Request& request) const
{
    const QString key = QString::fromLatin1(skipKey);
    if (userDefaults().boolForKey(key))
        return true;
    LOG_VERBOSE("%1", displayingLog);
    const DialogPresenter::Answer answer = presenter.runModal(request);
    // "Don't ask again." holds whichever button closed the dialog.
    if (answer.suppressed) {
        LOG_VERBOSE("%1", suppressedLog);
        userDefaults().setBool(key, true);
    }
    return answer.button == 0;
}

bool Localizator::runDisableLanternwickDialogWithItems(DialogPresenter& presenter) const
{
    DialogPresenter::Request request;
    request.messageText = localized("Disable Lanternwick and add items to login items list in Startup Applications?");
    request.informativeText = localized(
        "If confirmed, Lanternwick will be removed and all applications or documents in it's list will be added as login "
        "items to your account settings in Startup Applications. Lanternwick will not be launched on next startup but "
        "items will be, however without all Lanternwicks conditional logic.\n\nAll items and settings will remain in "
        "Lanternwick. Enabling it at any later time will revert the operation and return to previous state!");
    request.buttons = { localized("Disable"), localized("Cancel") };
    request.suppressionTitle = localized("Don't ask again.");
    return runConfirmationDialog(presenter, MHUserSettingsKeys.skipDisableLanternwickDialog,
                                 QStringLiteral("Displaying disable Lanternwick confirmation dialog..."),
                                 QStringLiteral("User disabled disable Lanternwick confirmation dialog."), request);
}

bool Localizator::runDeleteSystemItemsDialogWithItems(DialogPresenter& presenter, const QStringList& itemNames) const
{
    DialogPresenter::Request request;
    if (itemNames.size() == 1) {
        request.messageText = localized("Delete %1 from Startup Applications login items?").arg(itemNames.first());
        request.informativeText = localized("If confirmed, %1 will be deleted from Startup Applications and will not be "
                                            "started by Lanternwick or by Linux when you log in. This action is not undoable!")
                                      .arg(itemNames.first());
    } else {
        request.messageText = localized("Delete %1 items from Startup Applications login items?")
                                  .arg(formattedUnsignedInteger(static_cast<quint64>(itemNames.size())));
        request.informativeText = localized("If confirmed, items will be deleted from Startup Applications and will not "
                                            "be started by Lanternwick or by Linux when you log in. This action is not undoable!");
    }
    request.buttons = { localized("Delete"), localized("Cancel") };
    request.suppressionTitle = localized("Don't ask again.");
    return runConfirmationDialog(presenter, MHUserSettingsKeys.skipDeleteSystemItemsDialog,
                                 QStringLiteral("Displaying remove from system items confirmation dialog..."),
                                 QStringLiteral("User disabled delete from system confirmation dialog."), request);
}

void Localizator::runSystemItemsCannotBeMovedAlert(DialogPresenter& presenter, const QStringList& itemReasons) const
{
    DialogPresenter::Request request;
    request.messageText = localized("These login items can neither be moved to Lanternwick nor marked as ignored:");
    request.informativeText = itemReasons.join(QLatin1Char('\n')) + QStringLiteral("\n\n")
        + localized("Their files cannot be read as the session reads them. You can delete them from Startup Applications.");
    request.buttons = { localized("OK") };
    presenter.runModal(request);
}

std::optional<QString> Localizator::runRestoreDatabaseDialog(DialogPresenter& presenter, const DatabaseBackupReading& backups,
                                                             const SystemItemHelping& helpers) const
{
    const QString folder = backups.applicationDatabasePath();
    const QString sessionPath = folder + QLatin1Char('/') + backups.applicationSessionBackupFilename();
    const QString lastChangePath = folder + QLatin1Char('/') + backups.applicationLastChangeBackupFilename();
    // Only a backup that loads completely is offered: restoring another would
    // replace the database with a file the next start cannot open.
    const auto readBackup = [&](const QString& path) -> std::optional<QVariantMap> {
        if (!QFileInfo::exists(path))
            return std::nullopt;
        std::optional<QVariantMap> contents = backups.databaseContentsFromFile(path);
        if (!contents)
            LOG_WARN("Backup %1 does not load, not offering it.", path);
        return contents;
    };
    const std::optional<QVariantMap> session = readBackup(sessionPath);
    const std::optional<QVariantMap> lastChange = readBackup(lastChangePath);
    if (!session && !lastChange)
        return std::nullopt;

    DialogPresenter::Request request;
    request.messageText = localized("Restore database from backup?");
    QList<QString> choices; // the path each button restores, in button order
    if (session && lastChange && *session == *lastChange) {
        request.informativeText = localized("Two backups are available, from last change and from last time Lanternwick was "
                                            "closed, but both contain the same data:\n\n%1")
                                      .arg(stringDescriptionFromDatabase(*lastChange, helpers));
        request.buttons = { localized("Restore"), localized("Cancel") };
        choices = { lastChangePath };
    } else if (session && lastChange) {
        request.informativeText = localized("Two backups are available:\n\nFrom last change:\n%1\nFrom last session - last "
                                            "time Lanternwick was closed:\n%2\nWhich one would you like to restore from?")
                                      .arg(stringDescriptionFromDatabase(*lastChange, helpers),
                                           stringDescriptionFromDatabase(*session, helpers));
        request.buttons = { localized("Restore Last Session"), localized("Restore Last Change"), localized("Cancel") };
        choices = { sessionPath, lastChangePath };
    } else if (lastChange) {
        request.informativeText = localized("You can restore database from last change:\n\n%1")
                                      .arg(stringDescriptionFromDatabase(*lastChange, helpers));
        request.buttons = { localized("Restore"), localized("Cancel") };
        choices = { lastChangePath };
    } else {
        request.informativeText = localized("You can restore database from last time Lanternwick was closed:\n\n%1")
                                      .arg(stringDescriptionFromDatabase(*session, helpers));
        request.buttons = { localized("Restore"), localized("Cancel") };
        choices = { sessionPath };
    }
    const DialogPresenter::Answer answer = presenter.runModal(request);
    if (answer.button < 0 || answer.button >= choices.size())
        return std::nullopt;
    return choices.at(answer.button);
}

QString Localizator::stringDescriptionFromDatabase(const QVariantMap& database, const SystemItemHelping& helpers) const
{
    const QVariantList conditions = database.value(MHTextStorageKeys::conditions).toList();
    QString description;
    for (const QVariant& entryValue : database.value(MHTextStorageKeys::application).toList()) {
        const QVariantMap entry = entryValue.toMap();
        const QString type = entry.value(MHTextStorageKeys::itemType).toString();
        QString name;
        if (type == MHTextStorageKeys::itemTypeFile)
            name = helpers.niceDisplayNameForItemAtPath(entry.value(MHTextStorageKeys::itemPath).toString());
        else if (type == MHTextStorageKeys::itemTypeDelay)
            name = delayItemNiceDisplayNameForDelay(entry.value(MHTextStorageKeys::itemDelay).toDouble());
        else if (type == MHTextStorageKeys::itemTypeWaitPrevious)
            name = localized("Wait previous item");
        else if (type == MHTextStorageKeys::itemTypeConditionalPrevious)
            name = localized("Launch next item based on previous item");
        else
            continue; // not an item this program writes
        const bool bracketed = type != MHTextStorageKeys::itemTypeFile;

        QStringList conditionNames;
        for (const QVariant& index : entry.value(MHTextStorageKeys::conditions).toList()) {
            bool ok = false;
            const qlonglong position = index.toLongLong(&ok);
            if (ok && position >= 0 && position < conditions.size())
                conditionNames.append(conditions.at(position).toMap().value(MHTextStorageKeys::conditionName).toString());
        }

        description += QStringLiteral("• %1%2").arg(bracketed ? QStringLiteral("[ ") : QString(), name);
        if (!conditionNames.isEmpty())
            description += QStringLiteral(" (%1)").arg(conditionNames.join(QStringLiteral(", ")));
        description += QStringLiteral("%1\n").arg(bracketed ? QStringLiteral(" ]") : QString());
    }
    return description;
}

// --- The items page: its bottom bars, the simulation, the inspector's popover ----

QString Localizator::systemItemsButtonTitle(bool isAtLeastOneSystemItemAvailable) const
{
    return localized(isAtLeastOneSystemItemAvailable ? "System Items" : "No New System Item");
}

QString Localizator::systemItemsReadFailureText(const QString& cause) const
{
    return localized("Lanternwick can't read your startup applications, so new ones are not shown here.\n\n%1").arg(cause);
}

QString Localizator::itemsPageText(ItemsPageText text) const
{
    switch (text) {
    case ItemsPageText::Cancel:
        return localized("Cancel");
    case ItemsPageText::ShowErrors:
        return localized("Show the errors of the last launch");
    case ItemsPageText::ErrorsList:
        return localized("Errors of the last launch");
    case ItemsPageText::RevealInFileManager:
        return localized("Show in file manager");
    case ItemsPageText::ControlKey:
        return localized("Control");
    case ItemsPageText::OptionKey:
        return localized("Alt");
    case ItemsPageText::ShiftKey:
        return localized("Shift");
    case ItemsPageText::CommandKey:
        return localized("Super");
    case ItemsPageText::PowerSourceOnBattery:
        return localized("On battery");
    case ItemsPageText::SimulatedDay:
        return localized("Day");
    case ItemsPageText::SimulatedTime:
        return localized("Time");
    case ItemsPageText::SimulatedVolumes:
        return localized("Mounted volumes");
    case ItemsPageText::SimulatedNetworks:
        return localized("Networks");
    case ItemsPageText::VolumeAttached:
        return localized("Mounted");
    case ItemsPageText::NetworkAvailable:
        return localized("Available");
    case ItemsPageText::NetworkConnected:
        return localized("Connected");
    case ItemsPageText::NameColumn:
        return localized("Name");
    case ItemsPageText::ErrorColumn:
        return localized("Error");
    case ItemsPageText::DetachInspector:
        return localized("Open in a window");
    case ItemsPageText::RowHidden:
        return localized("hidden");
    case ItemsPageText::RowDisabled:
        return localized("disabled");
    case ItemsPageText::RowConditionAllows:
        return localized("%1 (allows)");
    case ItemsPageText::RowConditionPrevents:
        return localized("%1 (prevents)");
    case ItemsPageText::RowWouldStart:
        return localized("would start");
    case ItemsPageText::RowPreventedByItem:
        return localized("would not start because of the item itself");
    case ItemsPageText::RowPreventedByConditions:
        return localized("would not start because of its conditions");
    case ItemsPageText::RowPreventedByNeighbors:
        return localized("would not start because of the items beside it");
    }
    return {};
}
