// Feeds arbitrary bytes to the reader of old SQLite stores as the store file.
// Whatever the bytes, reading, the steps between model versions and the
// conversion must end without a crash, leak or undefined behaviour; and every
// record the conversion keeps, and its account of what it changed, must load
// into a database.
#include "foundation/Log.h"
#include "model/DatabaseSerializer.h"
#include "model/ObjectContext.h"
#include "model/OldStoreConverter.h"
#include "model/OldStoreReader.h"
#include "model/ProgressiveDataMigrator.h"
#include "support/FakeModelTexts.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir* folder = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    static QTemporaryDir temporary;
    folder = &temporary;
    gLogMask = 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A store in write-ahead-log mode leaves its side files behind.
    const QString store = folder->filePath(QStringLiteral("Lanternwick.data"));
    for (const char* suffix : { "-wal", "-shm", "-journal" })
        QFile::remove(store + QLatin1String(suffix));
    QFile file(store);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    Error error;
    const std::unique_ptr<OldStoreReader> reader = OldStoreReader::open(store, &error);
    if (!reader)
        return 0;
    ProgressiveDataMigrator migrator;
    const std::optional<OldStoreGraph> graph = migrator.progressivelyMigrateStore(*reader, OldStoreModel::currentModel(), &error);
    if (!graph)
        return 0;
    FakeModelTexts texts;
    ObjectContext context(texts);
    DatabaseSerializer serializer(folder->path(), QStringLiteral("Lanternwick"), texts);
    QVariantMap changed;
    if (!serializer.loadDatabaseFromDictionaryRepresentation(OldStoreConverter::dictionaryRepresentation(*graph, &changed), context, &error))
        std::abort();
    // What the user is told about is a database of its own.
    ObjectContext told(texts);
    if (!serializer.loadDatabaseFromDictionaryRepresentation(changed, told, &error))
        std::abort();
    return 0;
}
