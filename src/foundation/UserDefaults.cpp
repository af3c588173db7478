#include "foundation/UserDefaults.h"

#include "foundation/Log.h"
#include "foundation/PropertyList.h"

#include <QStandardPaths>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>

namespace {

QString settingsKey(const QString& keyPath)
{
    QString key = keyPath;
    return key.replace(QLatin1Char('.'), QLatin1Char('/'));
}

// Merges source into target, descending into dictionaries present in both.
void mergeLeaves(QVariantMap& target, const QVariantMap& source)
{
    for (auto it = source.cbegin(); it != source.cend(); ++it) {
        auto existing = target.find(it.key());
        if (existing != target.end() && existing->typeId() == QMetaType::QVariantMap && it->typeId() == QMetaType::QVariantMap) {
            QVariantMap merged = existing->toMap();
            mergeLeaves(merged, it->toMap());
            *existing = merged;
        } else {
            target.insert(it.key(), *it);
        }
    }
}

QVariant leafOf(const QVariantMap& map, const QString& keyPath)
{
    const QStringList words = keyPath.split(QLatin1Char('.'));
    QVariant node = map;
    for (const QString& word : words) {
        if (node.typeId() != QMetaType::QVariantMap)
            return {};
        node = node.toMap().value(word);
    }
    return node;
}

bool isText(const QVariant& value)
{
    return value.typeId() == QMetaType::QString;
}

bool toBool(const QVariant& value)
{
    if (!isText(value))
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == u"true" || text == u"yes")
        return true;
    return text.toDouble() != 0;
}

// Every float setting is a size, a share, a time or a rate: a value that is not
// a finite, non-negative float ("inf", "nan", "1e39", "-5") is no value.
std::optional<float> toFloat(const QVariant& value)
{
    bool ok = false;
    const double number = isText(value) ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
    const float result = float(number);
    if (!ok || !std::isfinite(result) || result < 0)
        return std::nullopt;
    return result;
}

// Empty when the value does not read as an unsigned number (text that is not
// one, or one too large for the type).
std::optional<quint64> toUnsigned(const QVariant& value)
{
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    if (isText(value)) {
        const quint64 number = value.toString().trimmed().toULongLong(&ok);
        return ok ? std::optional(number) : std::nullopt;
    }
    if (value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::UInt)
        return value.toULongLong();
    // Negative or fractional factory values must not wrap around.
    const double number = value.toDouble(&ok);
    return ok && number >= 0 && number < 18446744073709551616.0 ? quint64(number) : 0;
}

QDateTime toDate(const QVariant& value)
{
    if (isText(value))
        return QDateTime::fromString(value.toString().trimmed(), Qt::ISODateWithMs).toUTC();
    return value.typeId() == QMetaType::QDateTime ? value.toDateTime().toUTC() : QDateTime();
}

} // namespace

UserDefaults::UserDefaults(const QString& filePath, QObject* parent)
    : QObject(parent)
    , m_settings(filePath, QSettings::IniFormat)
{
}

UserDefaults::~UserDefaults() = default;

void UserDefaults::synchronize()
{
    const std::lock_guard lock(m_mutex);
    m_settings.sync();
}

UserDefaults& UserDefaults::standard()
{
    static UserDefaults defaults(standardFilePath());
    return defaults;
}

QString UserDefaults::standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Lanternwick/Lanternwick.conf");
}

QString UserDefaults::filePath() const
{
    std::lock_guard lock(m_mutex);
    return m_settings.fileName();
}

void UserDefaults::registerDefaults(const QVariantMap& defaults)
{
    std::lock_guard lock(m_mutex);
    mergeLeaves(m_factory, defaults);
}

bool UserDefaults::registerDefaultsFromFile(const QString& path, Error* error)
{
    const auto defaults = PropertyList::dictionaryFromFile(path, error);
    if (!defaults)
        return false;
    registerDefaults(*defaults);
    return true;
}

QVariant UserDefaults::lookupLocked(const QString& keyPath) const
{
    const QVariant user = m_settings.value(settingsKey(keyPath));
    return user.isValid() ? user : leafOf(m_factory, keyPath);
}

QVariant UserDefaults::value(const QString& keyPath) const
{
    std::lock_guard lock(m_mutex);
    return lookupLocked(keyPath);
}

namespace {

void collectLeaves(const QVariantMap& map, const QString& prefix, QVariantMap& leaves)
{
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry) {
        const QString keyPath = prefix.isEmpty() ? entry.key() : prefix + QLatin1Char('.') + entry.key();
        if (entry.value().typeId() == QMetaType::QVariantMap)
            collectLeaves(entry.value().toMap(), keyPath, leaves);
        else
            leaves.insert(keyPath, entry.value());
    }
}

} // namespace

QVariantMap UserDefaults::dictionaryRepresentation() const
{
    std::lock_guard lock(m_mutex);
    QVariantMap leaves;
    collectLeaves(m_factory, QString(), leaves);
    for (const QString& key : m_settings.allKeys())
        leaves.insert(QString(key).replace(QLatin1Char('/'), QLatin1Char('.')), m_settings.value(key));
    return leaves;
}

bool UserDefaults::hasUserValue(const QString& keyPath) const
{
    std::lock_guard lock(m_mutex);
    return m_settings.contains(settingsKey(keyPath));
}

void UserDefaults::store(const QString& keyPath, const QString& text)
{
    {
        std::lock_guard lock(m_mutex);
        if (text.isNull())
            m_settings.remove(settingsKey(keyPath));
        else
            m_settings.setValue(settingsKey(keyPath), text);
        // Written at once so that another process, or another instance on the
        // same file, reads the new value.
        m_settings.sync();
        if (m_settings.status() != QSettings::NoError)
            LOG_ERROR("Failed writing setting %1 to %2!", keyPath, m_settings.fileName());
    }
    Q_EMIT changed(keyPath);
}

void UserDefaults::removeValue(const QString& keyPath)
{
    store(keyPath, QString());
}

bool UserDefaults::boolForKey(const QString& keyPath) const { return toBool(value(keyPath)); }
float UserDefaults::floatForKey(const QString& keyPath) const
{
    const QVariant stored = value(keyPath);
    if (const std::optional<float> number = toFloat(stored))
        return *number;
    if (!stored.isValid())
        return 0.0f;
    std::lock_guard lock(m_mutex);
    const std::optional<float> factory = toFloat(leafOf(m_factory, keyPath));
    LOG_WARN("Setting %1 holds no usable number, using %2", keyPath, factory.value_or(0.0f));
    return factory.value_or(0.0f);
}

quint64 UserDefaults::unsignedIntegerForKey(const QString& keyPath) const
{
    return unsignedIntegerForKey(keyPath, std::numeric_limits<quint64>::max());
}

quint64 UserDefaults::unsignedIntegerForKey(const QString& keyPath, quint64 maximum) const
{
    std::lock_guard lock(m_mutex);
    const std::optional<quint64> user = toUnsigned(m_settings.value(settingsKey(keyPath)));
    if (user && *user <= maximum)
        return *user;
    return toUnsigned(leafOf(m_factory, keyPath)).value_or(0);
}

QDateTime UserDefaults::dateForKey(const QString& keyPath) const { return toDate(value(keyPath)); }
QString UserDefaults::stringForKey(const QString& keyPath) const
{
    const QVariant stored = value(keyPath);
    return stored.canConvert<QString>() ? stored.toString() : QString();
}

void UserDefaults::setBool(const QString& keyPath, bool value)
{
    store(keyPath, value ? QStringLiteral("true") : QStringLiteral("false"));
}

void UserDefaults::setFloat(const QString& keyPath, float value)
{
    // Nine significant digits give back the same float.
    store(keyPath, QString::number(double(value), 'g', 9));
}

void UserDefaults::setUnsignedInteger(const QString& keyPath, quint64 value)
{
    store(keyPath, QString::number(value));
}

void UserDefaults::setDate(const QString& keyPath, const QDateTime& value)
{
    if (!value.isValid()) {
        removeValue(keyPath);
        return;
    }
    store(keyPath, value.toUTC().toString(Qt::ISODateWithMs));
}

void UserDefaults::setString(const QString& keyPath, const QString& value)
{
    // An empty string is a value, not a removal.
    store(keyPath, value.isNull() ? QStringLiteral("") : value);
}

RgbaColor UserDefaults::newColorRefFromString(const QString& string, const QString& key)
{
    QString problem;
    const auto color = RgbaColor::fromString(string, key, &problem);
    if (color)
        return *color;
    // Only a hand-edited file gets here; drawing on in a clear colour beats
    // stopping the program.
    LOG_ERROR("%1", problem);
    return RgbaColor::genericTransparent();
}

RgbaColor UserDefaults::genericTransparentColor() const
{
    return RgbaColor::genericTransparent();
}

RgbaColor UserDefaults::cachedColorForKey(const QString& keyPath) const
{
    std::lock_guard lock(m_mutex);
    auto cached = m_colors.constFind(keyPath);
    if (cached != m_colors.cend())
        return *cached;
    const RgbaColor color = newColorRefFromString(lookupLocked(keyPath).toString(), keyPath);
    m_colors.insert(keyPath, color);
    return color;
}

void UserDefaults::migrateUserDefaults()
{
    if (versionOfUserDefaultsSchema() <= 1.0f)
        migrateUserDefaultsFromSchema1To2();
}

void UserDefaults::migrateUserDefaultsFromSchema1To2()
{
    const auto moveBool = [this](const QString& oldKey, void (UserDefaults::*setter)(bool)) {
        (this->*setter)(boolForKey(oldKey));
    };
    const auto moveFloat = [this](const QString& oldKey, void (UserDefaults::*setter)(float)) {
        (this->*setter)(floatForKey(oldKey));
    };
    const QList<std::pair<QString, std::function<void(const QString&)>>> moves = {
        { QStringLiteral("EnableLanternwick"), [&](const QString& k) { moveBool(k, &UserDefaults::setIsLanternwickEnabled); } },
        { QStringLiteral("ExecuteItemsAfterStartup"), [&](const QString& k) { moveBool(k, &UserDefaults::setIsItemsExecutionAfterLaunchEnabled); } },
        { QStringLiteral("ExecuteItemsAfterSleep"), [&](const QString& k) { moveBool(k, &UserDefaults::setIsItemsExecutionAfterAwakingFromSleepEnabled); } },
        { QStringLiteral("ExecuteOnEveryStartup"), [&](const QString& k) { moveBool(k, &UserDefaults::setIsItemsExecutionOnManualLaunchEnabled); } },
        { QStringLiteral("StartupCloseAfterExecution"), [&](const QString& k) { moveBool(k, &UserDefaults::setIsAutoCloseAfterItemsExecutionEnabled); } },
        { QStringLiteral("StartupAutoCloseDelay"), [&](const QString& k) { moveFloat(k, &UserDefaults::setDelayBeforeAutoClosingAfterItemsExecution); } },
        { QStringLiteral("UseDelayBeforeExecuting"), [&](const QString& k) { moveBool(k, &UserDefaults::setIsDelayBeforeItemsExecutionEnabled); } },
        { QStringLiteral("DelayValueBeforeExecuting"), [&](const QString& k) { moveFloat(k, &UserDefaults::setDelayBeforeItemsExecution); } },
    };
    for (const auto& [oldKey, move] : moves) {
        if (!hasUserValue(oldKey))
            continue;
        move(oldKey);
        removeValue(oldKey);
    }
    setVersionOfUserDefaultsSchema(2.0f);
}

float UserDefaults::itemsListsHeightBasedOnCurrentSizeSetting() const
{
    return itemsListsSize() != 0 ? simpleItemViewCellHeight() : loginItemViewCellHeight();
}

bool UserDefaults::skipContainerDataMigration() const { return boolForKey(QStringLiteral("SkipContainerDataMigration")); }
void UserDefaults::setSkipContainerDataMigration(bool value) { setBool(QStringLiteral("SkipContainerDataMigration"), value); }
float UserDefaults::versionOfUserDefaultsSchema() const { return floatForKey(QStringLiteral("DefaultsSchemaVersion")); }
void UserDefaults::setVersionOfUserDefaultsSchema(float value) { setFloat(QStringLiteral("DefaultsSchemaVersion"), value); }
bool UserDefaults::isNotificationCenterEnabled() const { return boolForKey(QStringLiteral("IsNotificationCenterEnabled")); }
void UserDefaults::setIsNotificationCenterEnabled(bool value) { setBool(QStringLiteral("IsNotificationCenterEnabled"), value); }
bool UserDefaults::isLaunchAfterRestart() const { return boolForKey(QStringLiteral("IsLaunchAfterRestart")); }
void UserDefaults::setIsLaunchAfterRestart(bool value) { setBool(QStringLiteral("IsLaunchAfterRestart"), value); }
bool UserDefaults::isLanternwickEnabled() const { return boolForKey(QStringLiteral("IsLanternwickEnabled")); }
void UserDefaults::setIsLanternwickEnabled(bool value) { setBool(QStringLiteral("IsLanternwickEnabled"), value); }
bool UserDefaults::isItemsExecutionAfterLaunchEnabled() const { return boolForKey(QStringLiteral("IsItemsExecutionAfterLaunchEnabled")); }
void UserDefaults::setIsItemsExecutionAfterLaunchEnabled(bool value) { setBool(QStringLiteral("IsItemsExecutionAfterLaunchEnabled"), value); }
bool UserDefaults::isItemsExecutionAfterAwakingFromSleepEnabled() const { return boolForKey(QStringLiteral("IsItemsExecutionAfterAwakingFromSleepEnabled")); }
void UserDefaults::setIsItemsExecutionAfterAwakingFromSleepEnabled(bool value) { setBool(QStringLiteral("IsItemsExecutionAfterAwakingFromSleepEnabled"), value); }
bool UserDefaults::isItemsExecutionOnManualLaunchEnabled() const { return boolForKey(QStringLiteral("IsItemsExecutionOnManualLaunchEnabled")); }
void UserDefaults::setIsItemsExecutionOnManualLaunchEnabled(bool value) { setBool(QStringLiteral("IsItemsExecutionOnManualLaunchEnabled"), value); }
bool UserDefaults::isAutoCloseAfterItemsExecutionEnabled() const { return boolForKey(QStringLiteral("IsAutoCloseAfterItemsExecutionEnabled")); }
void UserDefaults::setIsAutoCloseAfterItemsExecutionEnabled(bool value) { setBool(QStringLiteral("IsAutoCloseAfterItemsExecutionEnabled"), value); }
float UserDefaults::delayBeforeAutoClosingAfterItemsExecution() const { return floatForKey(QStringLiteral("DelayBeforeAutoClosingAfterItemsExecution")); }
void UserDefaults::setDelayBeforeAutoClosingAfterItemsExecution(float value) { setFloat(QStringLiteral("DelayBeforeAutoClosingAfterItemsExecution"), value); }
bool UserDefaults::isDelayBeforeItemsExecutionEnabled() const { return boolForKey(QStringLiteral("IsDelayBeforeItemsExecutionEnabled")); }
void UserDefaults::setIsDelayBeforeItemsExecutionEnabled(bool value) { setBool(QStringLiteral("IsDelayBeforeItemsExecutionEnabled"), value); }
float UserDefaults::delayBeforeItemsExecution() const { return floatForKey(QStringLiteral("DelayBeforeItemsExecution")); }
void UserDefaults::setDelayBeforeItemsExecution(float value) { setFloat(QStringLiteral("DelayBeforeItemsExecution"), value); }
bool UserDefaults::isDelayBetweenItemsDuringExecutionEnabled() const { return boolForKey(QStringLiteral("IsDelayBetweenItemsDuringExecutionEnabled")); }
void UserDefaults::setIsDelayBetweenItemsDuringExecutionEnabled(bool value) { setBool(QStringLiteral("IsDelayBetweenItemsDuringExecutionEnabled"), value); }
float UserDefaults::delayBetweenItemsDuringExecution() const { return floatForKey(QStringLiteral("DelayBetweenItemsDuringExecution")); }
void UserDefaults::setDelayBetweenItemsDuringExecution(float value) { setFloat(QStringLiteral("DelayBetweenItemsDuringExecution"), value); }
quint64 UserDefaults::applicationRunMode() const { return unsignedIntegerForKey(QStringLiteral("ApplicationRunMode")); }
void UserDefaults::setApplicationRunMode(quint64 value) { setUnsignedInteger(QStringLiteral("ApplicationRunMode"), value); }
quint64 UserDefaults::itemsListsSize() const { return unsignedIntegerForKey(QStringLiteral("ItemsListsSize")); }
void UserDefaults::setItemsListsSize(quint64 value) { setUnsignedInteger(QStringLiteral("ItemsListsSize"), value); }
bool UserDefaults::showMainWindowAfterLaunch() const { return boolForKey(QStringLiteral("ShowMainWindowAfterLaunch")); }
void UserDefaults::setShowMainWindowAfterLaunch(bool value) { setBool(QStringLiteral("ShowMainWindowAfterLaunch"), value); }
bool UserDefaults::showWelcomeWindow() const { return boolForKey(QStringLiteral("ShowWelcomeWindow")); }
void UserDefaults::setShowWelcomeWindow(bool value) { setBool(QStringLiteral("ShowWelcomeWindow"), value); }
bool UserDefaults::showExecutionProgressInDockIcon() const { return boolForKey(QStringLiteral("ShowExecutionProgressInDockIcon")); }
void UserDefaults::setShowExecutionProgressInDockIcon(bool value) { setBool(QStringLiteral("ShowExecutionProgressInDockIcon"), value); }
QDateTime UserDefaults::lastBootTime() const { return dateForKey(QStringLiteral("LastBootTime")); }
void UserDefaults::setLastBootTime(const QDateTime& value) { setDate(QStringLiteral("LastBootTime"), value); }
QDateTime UserDefaults::lastLoginTime() const { return dateForKey(QStringLiteral("LastLoginTime")); }
void UserDefaults::setLastLoginTime(const QDateTime& value) { setDate(QStringLiteral("LastLoginTime"), value); }
QString UserDefaults::lastLoginSessionID() const { return stringForKey(QStringLiteral("LastLoginSessionID")); }
void UserDefaults::setLastLoginSessionID(const QString& value) { setString(QStringLiteral("LastLoginSessionID"), value); }
QString UserDefaults::sparkleFeedURL() const { return stringForKey(QStringLiteral("SUFeed")); }
void UserDefaults::setSparkleFeedURL(const QString& value) { setString(QStringLiteral("SUFeed"), value); }
bool UserDefaults::skipDisableLanternwickDialog() const { return boolForKey(QStringLiteral("SkipDisableLanternwickDialog")); }
void UserDefaults::setSkipDisableLanternwickDialog(bool value) { setBool(QStringLiteral("SkipDisableLanternwickDialog"), value); }
bool UserDefaults::skipDeleteSystemItemsDialog() const { return boolForKey(QStringLiteral("SkipDeleteSystemItemsDialog")); }
void UserDefaults::setSkipDeleteSystemItemsDialog(bool value) { setBool(QStringLiteral("SkipDeleteSystemItemsDialog"), value); }
bool UserDefaults::isLoggingToFileEnabled() const { return boolForKey(QStringLiteral("LogToFile")); }
void UserDefaults::setIsLoggingToFileEnabled(bool value) { setBool(QStringLiteral("LogToFile"), value); }
// Used as an int: a larger value would wrap around into some level.
quint64 UserDefaults::loggingVerbosityLevel() const { return unsignedIntegerForKey(QStringLiteral("LogVerbosity"), INT32_MAX); }
void UserDefaults::setLoggingVerbosityLevel(quint64 value) { setUnsignedInteger(QStringLiteral("LogVerbosity"), value); }
quint64 UserDefaults::loggingNumberOfFilesToKeep() const { return unsignedIntegerForKey(QStringLiteral("Logging.LogFilesToKeep")); }
void UserDefaults::setLoggingNumberOfFilesToKeep(quint64 value) { setUnsignedInteger(QStringLiteral("Logging.LogFilesToKeep"), value); }
bool UserDefaults::isLoggingObservationsEnabled() const { return boolForKey(QStringLiteral("Logging.LogObservations")); }
void UserDefaults::setIsLoggingObservationsEnabled(bool value) { setBool(QStringLiteral("Logging.LogObservations"), value); }
bool UserDefaults::isLoggingViewsEnabled() const { return boolForKey(QStringLiteral("Logging.LogViews")); }
void UserDefaults::setIsLoggingViewsEnabled(bool value) { setBool(QStringLiteral("Logging.LogViews"), value); }

float UserDefaults::systemItemsChangedNotificationDelay() const { return floatForKey(QStringLiteral("Tweaking.Delays.SystemItemsChangedNotificationDelay")); }
float UserDefaults::dragDropDatabaseUpdateDelay() const { return floatForKey(QStringLiteral("Tweaking.Delays.DragDropDatabaseUpdateDelay")); }
float UserDefaults::loginItemsExecutionTickDelay() const { return floatForKey(QStringLiteral("Tweaking.Delays.LoginItemsExecutionTickDelay")); }

float UserDefaults::delayLoginItemDefaultDelay() const { return floatForKey(QStringLiteral("Tweaking.DefaultValues.DelayLoginItemDefaultDelayValue")); }
bool UserDefaults::isDoubleClickToLaunchItemsEnabled() const { return boolForKey(QStringLiteral("Tweaking.DefaultValues.IsDoubleClickToLaunchItemsEnabled")); }
bool UserDefaults::isDoubleClickToShowPathsEnabled() const { return boolForKey(QStringLiteral("Tweaking.DefaultValues.IsDoubleClickToShowPathsEnabled")); }
bool UserDefaults::isLaunchParametersStatusEnabled() const { return boolForKey(QStringLiteral("Tweaking.DefaultValues.IsLaunchParametersStatusEnabled")); }
bool UserDefaults::isLaunchInBackgroundEnabled() const { return boolForKey(QStringLiteral("Tweaking.DefaultValues.IsLaunchInBackgroundEnabled")); }
bool UserDefaults::isForcedItemHideEnabled() const { return boolForKey(QStringLiteral("Tweaking.DefaultValues.IsForcedItemHideEnabled")); }

float UserDefaults::maximumWaitForPreviousItemDelay() const { return floatForKey(QStringLiteral("Tweaking.Timings.MaxWaitForPreviousItemDelay")); }
float UserDefaults::waitForPreviousItemPostDelay() const { return floatForKey(QStringLiteral("Tweaking.Timings.WaitForPreviousItemPostDelay")); }
float UserDefaults::numberOfWaitForPreviousItemChecksPerSecond() const { return floatForKey(QStringLiteral("Tweaking.Timings.NumberOfWaitForPreviousItemChecksPerSecond")); }
float UserDefaults::numberOfExecutionNotificationsPerSecond() const { return floatForKey(QStringLiteral("Tweaking.Timings.NumberOfExecutionNotificationsPerSecond")); }
float UserDefaults::systemBootDetectionAllowedDifference() const { return floatForKey(QStringLiteral("Tweaking.Timings.SystemBootDetectionAllowedDifference")); }
float UserDefaults::creditsScrollAnimationInterval() const { return floatForKey(QStringLiteral("Tweaking.Timings.CreditsScrollAnimationInterval")); }
float UserDefaults::dockAnimationSampleInterval() const { return floatForKey(QStringLiteral("Tweaking.Timings.DockAnimationSampleInterval")); }
float UserDefaults::networkScanInterval() const { return floatForKey(QStringLiteral("Tweaking.Timings.NetworkScanInterval")); }

float UserDefaults::mainItemsViewSimulatePowerSourceImageSize() const { return floatForKey(QStringLiteral("Layout.MainItemsView.SimulatePowerSourceImageSize")); }

QString UserDefaults::mainWindowHorizontalConstraints() const { return stringForKey(QStringLiteral("Layout.MainWindow.HorizontalConstraints")); }
QString UserDefaults::mainWindowVerticalConstraints() const { return stringForKey(QStringLiteral("Layout.MainWindow.VerticalConstraints")); }

float UserDefaults::systemItemViewCellHeight() const { return floatForKey(QStringLiteral("Layout.SystemItemView.CellHeight")); }
QString UserDefaults::systemItemViewIconHorizontalLayout() const { return stringForKey(QStringLiteral("Layout.SystemItemView.IconHorizontalLayout")); }
QString UserDefaults::systemItemViewIconVerticalLayout() const { return stringForKey(QStringLiteral("Layout.SystemItemView.IconVerticalLayout")); }
QString UserDefaults::systemItemViewNameHorizontalLayout() const { return stringForKey(QStringLiteral("Layout.SystemItemView.NameHorizontalLayout")); }
QString UserDefaults::systemItemViewNameVerticalLayout() const { return stringForKey(QStringLiteral("Layout.SystemItemView.NameVerticalLayout")); }
QString UserDefaults::systemItemViewKindHorizontalLayout() const { return stringForKey(QStringLiteral("Layout.SystemItemView.KindHorizontalLayout")); }
QString UserDefaults::systemItemViewKindVerticalLayout() const { return stringForKey(QStringLiteral("Layout.SystemItemView.KindVerticalLayout")); }

float UserDefaults::loginItemViewCellHeight() const { return floatForKey(QStringLiteral("Layout.LoginItemView.CellHeight")); }
float UserDefaults::loginItemViewDisabledAlpha() const { return floatForKey(QStringLiteral("Layout.LoginItemView.DisabledAlpha")); }
RgbaColor UserDefaults::loginItemViewCellDelimiterColor() const { return cachedColorForKey(QStringLiteral("Layout.LoginItemView.DelimiterColor")); }
RgbaColor UserDefaults::itemTableRowViewExecutingBackgroundColor() const { return cachedColorForKey(QStringLiteral("Layout.LoginItemView.ExecutingBackgroundColor")); }
RgbaColor UserDefaults::itemTableRowViewExecutionPreventedBackgroundColor() const { return cachedColorForKey(QStringLiteral("Layout.LoginItemView.ExecutionPreventedBackgroundColor")); }
RgbaColor UserDefaults::itemTableRowViewAlternateBackgroundColor() const { return cachedColorForKey(QStringLiteral("Layout.LoginItemView.AlternateRowBackgroundColor")); }
RgbaColor UserDefaults::itemDisabledActionIconColor() const { return cachedColorForKey(QStringLiteral("Layout.LoginItemView.DisabledActionIconColor")); }

float UserDefaults::simpleItemViewCellHeight() const { return floatForKey(QStringLiteral("Layout.SimpleItemView.CellHeight")); }
float UserDefaults::simpleItemViewDisabledAlpha() const { return floatForKey(QStringLiteral("Layout.SimpleItemView.DisabledAlpha")); }
RgbaColor UserDefaults::utilityRowViewOutsideColor() const { return cachedColorForKey(QStringLiteral("Layout.SimpleItemView.OutsideColor")); }
RgbaColor UserDefaults::utilityRowViewInsideColor() const { return cachedColorForKey(QStringLiteral("Layout.SimpleItemView.InsideColor")); }

float UserDefaults::startupConditionsListViewMinItemWidth() const { return floatForKey(QStringLiteral("Layout.StartupConditionsListView.MinItemWidth")); }
float UserDefaults::startupConditionsListViewMinWidthThreshold() const { return floatForKey(QStringLiteral("Layout.StartupConditionsListView.MinWidthThreshold")); }
float UserDefaults::startupConditionsListViewItemTextPadding() const { return floatForKey(QStringLiteral("Layout.StartupConditionsListView.ItemTextPadding")); }
float UserDefaults::startupConditionsListViewItemSpacing() const { return floatForKey(QStringLiteral("Layout.StartupConditionsListView.ItemSpacing")); }
RgbaColor UserDefaults::startupConditionsListViewTextColor() const { return cachedColorForKey(QStringLiteral("Layout.StartupConditionsListView.TextColor")); }
RgbaColor UserDefaults::startupConditionsListViewBorderColor() const { return cachedColorForKey(QStringLiteral("Layout.StartupConditionsListView.BorderColor")); }
RgbaColor UserDefaults::startupConditionsListViewBackgroundColor() const { return cachedColorForKey(QStringLiteral("Layout.StartupConditionsListView.BackgroundColor")); }
RgbaColor UserDefaults::startupConditionsListViewSimulationAllowTextColor() const { return cachedColorForKey(QStringLiteral("Layout.StartupConditionsListView.SimulationAllowTextColor")); }
RgbaColor UserDefaults::startupConditionsListViewSimulationAllowBorderColor() const { return cachedColorForKey(QStringLiteral("Layout.StartupConditionsListView.SimulationAllowBorderColor")); }
RgbaColor UserDefaults::startupConditionsListViewSimulationAllowBackgroundColor() const { return cachedColorForKey(QStringLiteral("Layout.StartupConditionsListView.SimulationAllowBackgroundColor")); }
RgbaColor UserDefaults::startupConditionsListViewSimulationPreventTextColor() const { return cachedColorForKey(QStringLiteral("Layout.StartupConditionsListView.SimulationPreventTextColor")); }
RgbaColor UserDefaults::startupConditionsListViewSimulationPreventBorderColor() const { return cachedColorForKey(QStringLiteral("Layout.StartupConditionsListView.SimulationPreventBorderColor")); }
RgbaColor UserDefaults::startupConditionsListViewSimulationPreventBackgroundColor() const { return cachedColorForKey(QStringLiteral("Layout.StartupConditionsListView.SimulationPreventBackgroundColor")); }

float UserDefaults::itemInspectorViewHeight() const { return floatForKey(QStringLiteral("Layout.ItemInspectorView.InspectorHeight")); }
float UserDefaults::itemInspectorViewItemStartupModeImageSize() const { return floatForKey(QStringLiteral("Layout.ItemInspectorView.ItemStartupModeImageSize")); }
float UserDefaults::itemInspectorDefaultItemInfoHeight() const { return floatForKey(QStringLiteral("Layout.ItemInspectorView.DefaultItemInfoHeight")); }
RgbaColor UserDefaults::itemInspectorItemsTableAlternateBackgroundColor() const { return cachedColorForKey(QStringLiteral("Layout.ItemInspectorView.AlternateRowBackgroundColor")); }
RgbaColor UserDefaults::itemInspectorItemsTableDelimiterColor() const { return cachedColorForKey(QStringLiteral("Layout.ItemInspectorView.ItemsTableDelimiterColor")); }
RgbaColor UserDefaults::itemInspectorItemsRowDelimiterColor() const { return cachedColorForKey(QStringLiteral("Layout.ItemInspectorView.ItemsRowDelimiterColor")); }

QString UserDefaults::fileItemInfoViewHorizontalLayout() const { return stringForKey(QStringLiteral("Layout.FileItemInfoView.HorizontalLayout")); }
QString UserDefaults::fileItemInfoViewIconVerticalLayout() const { return stringForKey(QStringLiteral("Layout.FileItemInfoView.IconVerticalLayout")); }
QString UserDefaults::fileItemInfoViewInfoVerticalLayout() const { return stringForKey(QStringLiteral("Layout.FileItemInfoView.InfoVerticalLayout")); }

QString UserDefaults::delayItemInfoViewHorizontalLayout() const { return stringForKey(QStringLiteral("Layout.DelayItemInfoView.HorizontalLayout")); }
QString UserDefaults::delayItemInfoViewIconVerticalLayout() const { return stringForKey(QStringLiteral("Layout.DelayItemInfoView.IconVerticalLayout")); }
QString UserDefaults::delayItemInfoViewSliderVerticalLayout() const { return stringForKey(QStringLiteral("Layout.DelayItemInfoView.SliderVerticalLayout")); }

QString UserDefaults::conditionNameEditorViewHorizontalLayout() const { return stringForKey(QStringLiteral("Layout.ConditionNameEditorView.HorizontalLayout")); }
QString UserDefaults::conditionNameEditorViewVerticalLayout() const { return stringForKey(QStringLiteral("Layout.ConditionNameEditorView.VerticalLayout")); }

float UserDefaults::scheduleDataEditorViewScheduleItemsLayoutDelay() const { return floatForKey(QStringLiteral("Layout.ScheduleDataEditorView.ScheduleItemsLayoutDelay")); }

float UserDefaults::aboutViewCreditsFadeHeight() const { return floatForKey(QStringLiteral("Layout.AboutView.CreditsFadeHeight")); }
RgbaColor UserDefaults::aboutViewCreditsFadeColor1() const { return cachedColorForKey(QStringLiteral("Layout.AboutView.CreditsFadeColor1")); }
RgbaColor UserDefaults::aboutViewCreditsFadeColor2() const { return cachedColorForKey(QStringLiteral("Layout.AboutView.CreditsFadeColor2")); }
