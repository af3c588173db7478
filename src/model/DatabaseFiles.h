#pragma once
// The file operations of the database: replacing a file is always atomic
// (AtomicFile: synced, then renamed into place), so a failed write leaves the
// previous file as it was, and every file written is owner-only. Reading and
// writing share one size limit, so every file written can be read again.
// Errors name their cause in the system's words ("No space left on device").
// Virtual so that tests can make any step fail.
#include "foundation/Error.h"
#include "foundation/PropertyList.h"

#include <QByteArray>
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
    // The whole file, read once; a file above the size limit is refused.
    virtual std::optional<QByteArray> readFile(const QString& path, Error* error) const;
    // Once the new file is written whole, beforeReplacing runs, then it replaces path.
    virtual bool writeFile(const QByteArray& bytes, const QString& path, Error* error,
                           const std::function<void()>& beforeReplacing = {});
    // Serialises value first: nothing is touched when that fails.
    virtual bool writePropertyList(const QVariant& value, const QString& path, Error* error,
                                   const std::function<void()>& beforeReplacing = {});
    // Replaces destination with a copy of source.
    virtual bool copyFile(const QString& source, const QString& destination, Error* error);
    // Makes the (owner-only) folder of the files when it is missing.
    virtual bool makeFolder(const QString& path, Error* error);

private:
    const qint64 m_maximumFileSize;
};
