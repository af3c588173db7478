#pragma once
// The D-Bus activation file that lets the session bus start the service by
// name: $XDG_DATA_HOME/dbus-1/services/<service name>.service.
#include <QDBusConnection>
#include <QString>
#include <optional>

class KeelhouseServiceFile {
public:
    static QString filePath();
    // Nothing for a program path that cannot be written into the file.
    static std::optional<QByteArray> contentsFor(const QString& programPath);

    // Writes the file when it is missing or names another program, and then
    // asks the bus to read its configuration again so that it knows the name.
    // False when the file could not be written.
    static bool install(const QString& programPath, QDBusConnection bus);
};
