#pragma once
// Brings an old SQLite store to the current model version, one version at a
// time, in memory. The store is read from a private copy (with its -wal, -shm
// and -journal files), so the user's files are never written; the copy is the
// only temporary file, and deleteTemporaryFiles() removes it.
#include "foundation/Error.h"
#include "model/OldStoreGraph.h"
#include "model/OldStoreModel.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>

class OldStoreReader;

class ProgressiveDataMigrator {
public:
    struct Mapping {
        QString sourceModel;
        QString destinationModel;
        std::function<OldStoreGraph(const OldStoreGraph&)> migrate;
    };

    // The model versions and mappings of this program.
    ProgressiveDataMigrator();
    ProgressiveDataMigrator(QList<const OldStoreModel*> models, QList<Mapping> mappings);
    ~ProgressiveDataMigrator();
    ProgressiveDataMigrator(const ProgressiveDataMigrator&) = delete;
    ProgressiveDataMigrator& operator=(const ProgressiveDataMigrator&) = delete;

    // The store's objects under finalModel; nothing with error when the store
    // cannot be read or no chain of mappings leads there.
    std::optional<OldStoreGraph> progressivelyMigrateURL(const QString& storePath, const OldStoreModel& finalModel, Error* error);
    // The same for a store that is already open.
    std::optional<OldStoreGraph> progressivelyMigrateStore(const OldStoreReader& store, const OldStoreModel& finalModel, Error* error);

    // Descending by string comparison: with several candidates the name that
    // sorts last is tried first.
    static QStringList sortedModelPathsFromArray(const QStringList& paths);

    // Removes the private copy of the store; true when nothing of it is left.
    bool deleteTemporaryFiles();

private:
    const OldStoreModel* modelNamed(const QString& name) const;
    const Mapping* mappingBetween(const QString& source, const QString& destination) const;

    QList<const OldStoreModel*> m_models;
    QList<Mapping> m_mappings;
    std::unique_ptr<QTemporaryDir> m_copyFolder;
};
