#pragma once
// What the restore dialog needs of the shared service object: where the
// backups of the database are and how to read one.
#include <QString>
#include <QVariantMap>
#include <optional>

class DatabaseBackupReading {
public:
    virtual ~DatabaseBackupReading() = default;

    // The data folder.
    virtual QString applicationDatabasePath() const = 0;
    // Names within the data folder.
    virtual QString applicationSessionBackupFilename() const = 0;
    virtual QString applicationLastChangeBackupFilename() const = 0;
    // The root dictionary of a stored database; nothing when it does not load
    // completely, as the store must at start-up.
    virtual std::optional<QVariantMap> databaseContentsFromFile(const QString& path) const = 0;
};
