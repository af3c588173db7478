#pragma once
// The file operations of the database: replacing a file is always atomic
// (a temporary file beside it, then a rename), so a failed write leaves the
// previous file as it was. Virtual so that tests can make any step fail.
#include "foundation/Error.h"

#include <QString>
#include <QVariant>
#include <optional>

class DatabaseFiles {
public:
    virtual ~DatabaseFiles() = default;

    virtual bool exists(const QString& path) const;
    // Any property list; read errors and parse errors come from PropertyList.
    virtual std::optional<QVariant> readPropertyList(const QString& path, Error* error) const;
    virtual bool writePropertyList(const QVariant& value, const QString& path, Error* error);
    // Replaces destination with a copy of source.
    virtual bool copyFile(const QString& source, const QString& destination, Error* error);
};
