#pragma once
// The file operations of the database: replacing a file is always atomic
// (a temporary file beside it, then a rename), so a failed write leaves the
// previous file as it was. Reading and writing share one size limit, so every
// file written can be read again. Virtual so that tests can make any step fail.
#include "foundation/Error.h"
#include "foundation/PropertyList.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

class DatabaseFiles {
public:
    explicit DatabaseFiles(qint64 maximumFileSize = PropertyList::kMaximumFileSize);
    virtual ~DatabaseFiles() = default;

    qint64 maximumFileSize() const { return m_maximumFileSize; }

    virtual bool exists(const QString& path) const;
    // Any property list; read errors and parse errors come from PropertyList.
    virtual std::optional<QVariant> readPropertyList(const QString& path, Error* error) const;
    // Serialises value first: nothing is touched when that fails. Once the
    // new file is written whole, beforeReplacing runs, then it replaces path.
    virtual bool writePropertyList(const QVariant& value, const QString& path, Error* error,
                                   const std::function<void()>& beforeReplacing = {});
    // Replaces destination with a copy of source.
    virtual bool copyFile(const QString& source, const QString& destination, Error* error);

private:
    const qint64 m_maximumFileSize;
};
