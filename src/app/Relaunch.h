#pragma once
// The relaunch: the running copy starts a new one with "--relaunch-after
// <its process ID>" and quits; the new copy waits for it to end before it
// claims the single-instance name.
#include <QString>
#include <QStringList>
#include <optional>

namespace Relaunch {
inline const QString argument = QStringLiteral("--relaunch-after");
// The process ID a relaunched copy waits for; nothing for an ordinary start.
std::optional<qint64> previousProcess(const QStringList& arguments);
// Starts the new copy; false with the reason when it could not be started.
bool startNewCopy(QString* reason);
} // namespace Relaunch
