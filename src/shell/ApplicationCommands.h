#pragma once
// The names of the application's own menu commands, which the application
// delegate validates and performs.
#include <QString>

namespace ApplicationCommands {
inline const QString executeLoginItems = QStringLiteral("executeLoginItems");
inline const QString toggleSimulationMode = QStringLiteral("toggleSimulationMode");
inline const QString disableLanternwickAndMoveItemsToSystemPreferences = QStringLiteral("disableLanternwickAndMoveItemsToSystemPreferences");
inline const QString restoreDatabaseFromBackup = QStringLiteral("restoreDatabaseFromBackup");
inline const QString contactSupport = QStringLiteral("contactSupport");
inline const QString relaunchApplication = QStringLiteral("relaunchApplication");
inline const QString showMainWindow = QStringLiteral("showMainWindow");
inline const QString showWelcomeWindow = QStringLiteral("showWelcomeWindow");
inline const QString showAboutWindow = QStringLiteral("showAboutWindow");
inline const QString showPreferencesWindow = QStringLiteral("showPreferencesWindow");
inline const QString showGeneralPreferences = QStringLiteral("showGeneralPreferences");
} // namespace ApplicationCommands
