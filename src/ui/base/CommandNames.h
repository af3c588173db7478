#pragma once
// The names menu items and buttons send through the command dispatcher:
// the actions of the controllers, named as their methods.
#include <QString>

namespace CommandNames {
// Any window.
inline const QString undo = QStringLiteral("undo");
inline const QString redo = QStringLiteral("redo");
inline const QString performClose = QStringLiteral("performClose");
// The application.
inline const QString terminate = QStringLiteral("terminate");
// The main window.
inline const QString switchToApplicationItemsView = QStringLiteral("switchToApplicationItemsView");
inline const QString switchToSystemItemsView = QStringLiteral("switchToSystemItemsView");
// The items list.
inline const QString createNewFileItem = QStringLiteral("createNewFileItem");
inline const QString createNewDelayItem = QStringLiteral("createNewDelayItem");
inline const QString createNewWaitPreviousItem = QStringLiteral("createNewWaitPreviousItem");
inline const QString createNewConditionalPreviousItem = QStringLiteral("createNewConditionalPreviousItem");
inline const QString moveCurrentSelectionToSystemPreferences = QStringLiteral("moveCurrentSelectionToSystemPreferences");
inline const QString moveCurrentSelectionToIgnoredItems = QStringLiteral("moveCurrentSelectionToIgnoredItems");
inline const QString deleteCurrentSelection = QStringLiteral("deleteCurrentSelection");
inline const QString changeStartupModeToShown = QStringLiteral("changeStartupModeToShown");
inline const QString changeStartupModeToHidden = QStringLiteral("changeStartupModeToHidden");
inline const QString changeStartupModeToDisabled = QStringLiteral("changeStartupModeToDisabled");
inline const QString unselectApplicationItems = QStringLiteral("unselectApplicationItems");
inline const QString cancelLoginItemsExecution = QStringLiteral("cancelLoginItemsExecution");
inline const QString cancelAutoClose = QStringLiteral("cancelAutoClose");
inline const QString launchSelectedItems = QStringLiteral("launchSelectedItems");
inline const QString showLoginItemInspector = QStringLiteral("showLoginItemInspector");
inline const QString copy = QStringLiteral("copy");
inline const QString paste = QStringLiteral("paste");
inline const QString pasteAndAppendStartupConditions = QStringLiteral("pasteAndAppendStartupConditions");
// The items list and the ignored items.
inline const QString moveSelectedItemsUp = QStringLiteral("moveSelectedItemsUp");
inline const QString moveSelectedItemsDown = QStringLiteral("moveSelectedItemsDown");
// The ignored items (and moveCurrentSelectionToSystemPreferences, deleteCurrentSelection).
inline const QString moveIgnoredItemsToApplicationItemsList = QStringLiteral("moveIgnoredItemsToApplicationItemsList");
// The system items page (and deleteCurrentSelection).
inline const QString moveSelectedItemsToLanternwick = QStringLiteral("moveSelectedItemsToLanternwick");
inline const QString markSelectedItemsAsIgnored = QStringLiteral("markSelectedItemsAsIgnored");
// The item inspector (and deleteCurrentSelection).
inline const QString createScheduledStartupCondition = QStringLiteral("createScheduledStartupCondition");
inline const QString createHotkeyStartupCondition = QStringLiteral("createHotkeyStartupCondition");
inline const QString createPowerSourceStartupCondition = QStringLiteral("createPowerSourceStartupCondition");
inline const QString createMountedVolumeStartupCondition = QStringLiteral("createMountedVolumeStartupCondition");
inline const QString createNetworkStartupCondition = QStringLiteral("createNetworkStartupCondition");
inline const QString unselectStartupConditions = QStringLiteral("unselectStartupConditions");
} // namespace CommandNames
