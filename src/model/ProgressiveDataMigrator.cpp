#include "model/ProgressiveDataMigrator.h"

#include "foundation/Log.h"
#include "foundation/MHErrors.h"
#include "model/Model2To3Mapping.h"
#include "model/OldStoreReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

// The side files SQLite keeps beside a store; a committed change may live only in the log.
const char* const kSideFileSuffixes[] = { "", "-wal", "-shm", "-journal" };

} // namespace

ProgressiveDataMigrator::ProgressiveDataMigrator()
    : ProgressiveDataMigrator(OldStoreModel::all(),
                              { { OldStoreModel::version2().name, OldStoreModel::version3().name, &Model2To3Mapping::migrate } })
{
}

ProgressiveDataMigrator::ProgressiveDataMigrator(QList<const OldStoreModel*> models, QList<Mapping> mappings)
    : m_models(std::move(models))
    , m_mappings(std::move(mappings))
{
    LOG_DEBUG("Initializing...");
}

ProgressiveDataMigrator::~ProgressiveDataMigrator()
{
    LOG_DEBUG("Deallocating...");
}

QStringList ProgressiveDataMigrator::sortedModelPathsFromArray(const QStringList& paths)
{
    QStringList sorted = paths;
    std::sort(sorted.begin(), sorted.end());
    std::reverse(sorted.begin(), sorted.end());
    return sorted;
}

const OldStoreModel* ProgressiveDataMigrator::modelNamed(const QString& name) const
{
    for (const OldStoreModel* model : m_models)
        if (model->name == name)
            return model;
    return nullptr;
}

const ProgressiveDataMigrator::Mapping* ProgressiveDataMigrator::mappingBetween(const QString& source, const QString& destination) const
{
    for (const Mapping& mapping : m_mappings)
        if (mapping.sourceModel == source && mapping.destinationModel == destination)
            return &mapping;
    return nullptr;
}

std::optional<OldStoreGraph> ProgressiveDataMigrator::progressivelyMigrateURL(const QString& storePath, const OldStoreModel& finalModel,
                                                                              Error* error)
{
    m_copyFolder = std::make_unique<QTemporaryDir>();
    if (!m_copyFolder->isValid()) {
        *error = Error(MHErrors::domain, MHErrors::MHErrorCodeCoreDataInitializationFailed,
                       QStringLiteral("No temporary folder for a copy of %1: %2").arg(storePath, m_copyFolder->errorString()));
        return std::nullopt;
    }
    const QString copy = m_copyFolder->filePath(QFileInfo(storePath).fileName());
    for (const char* suffix : kSideFileSuffixes) {
        const QString original = storePath + QLatin1String(suffix);
        const QFileInfo info(original);
        if (!info.exists())
            continue;
        QFile file(original);
        if (!info.isFile() || !file.copy(copy + QLatin1String(suffix))) {
            *error = Error(MHErrors::domain, MHErrors::MHErrorCodeCoreDataInitializationFailed,
                           QStringLiteral("Cannot copy %1: %2").arg(original, info.isFile() ? file.errorString() : QStringLiteral("not a file")));
            return std::nullopt;
        }
    }
    const std::unique_ptr<OldStoreReader> store = OldStoreReader::open(copy, error);
    if (!store)
        return std::nullopt;
    return progressivelyMigrateStore(*store, finalModel, error);
}

std::optional<OldStoreGraph> ProgressiveDataMigrator::progressivelyMigrateStore(const OldStoreReader& store, const OldStoreModel& finalModel,
                                                                                Error* error)
{
    if (store.matches(finalModel))
        return store.read(finalModel, error);

    LOG_VERBOSE("Can't open database, attempting migration from old version...");
    if (m_models.isEmpty()) {
        LOG_WARN("No models found in the bundle, migration failed!");
        *error = Error(MHErrors::domain, MHErrors::MHErrorCodeMigrationNoModels, QStringLiteral("No models found in bundle!"));
        return std::nullopt;
    }
    LOG_DEBUG("Migration needed, finding source model...");
    const OldStoreModel* source = nullptr;
    for (const OldStoreModel* model : std::as_const(m_models))
        if (store.matches(*model))
            source = model;
    if (!source) {
        LOG_WARN("Failed to find source model, migration failed!");
        *error = Error(MHErrors::domain, MHErrors::MHErrorCodeCoreDataInitializationFailed,
                       QStringLiteral("The old database was written by no version this program knows."));
        return std::nullopt;
    }
    std::optional<OldStoreGraph> graph = store.read(*source, error);
    if (!graph)
        return std::nullopt;

    // Every step goes to a later version, so there are at most as many steps as models.
    while (source != &finalModel && source->name != finalModel.name) {
        LOG_DEBUG("Searching for all model files in bundle...");
        QStringList names;
        for (const OldStoreModel* model : std::as_const(m_models))
            names.append(model->name);
        LOG_DEBUG("Finding matching destination model...");
        const OldStoreModel* destination = nullptr;
        const Mapping* mapping = nullptr;
        for (const QString& name : sortedModelPathsFromArray(names)) {
            const OldStoreModel* candidate = modelNamed(name);
            mapping = mappingBetween(source->name, name);
            if (mapping && candidate->version > source->version) {
                destination = candidate;
                break;
            }
        }
        if (!destination) {
            LOG_WARN("No destination model found, migration failed!");
            *error = Error(MHErrors::domain, MHErrors::MHErrorCodeMigrationNoDestinationModel, QStringLiteral("No destination model found!"));
            return std::nullopt;
        }
        LOG_DEBUG("Performing migration from %1 to %2...", source->name, destination->name);
        graph = mapping->migrate(*graph);
        graph->modelName = destination->name;
        source = destination;
        LOG_DEBUG("Checking for additional migration steps...");
    }
    return graph;
}

bool ProgressiveDataMigrator::deleteTemporaryFiles()
{
    if (!m_copyFolder)
        return true;
    LOG_DEBUG("Deleting %1...", m_copyFolder->path());
    const bool removed = m_copyFolder->remove();
    if (!removed)
        LOG_WARN("Failed deleting %1!", m_copyFolder->path());
    m_copyFolder.reset();
    return removed;
}
