// Feeds arbitrary bytes to the database loader as the store file. Whatever the
// bytes, loading must answer yes or no without a crash, leak or undefined
// behaviour; and a database it accepts must save, load and save again to the
// very same bytes.
#include "foundation/Log.h"
#include "foundation/PropertyList.h"
#include "model/DatabaseSerializer.h"
#include "model/ObjectContext.h"
#include "support/FakeModelTexts.h"

#include <QCoreApplication>
#include <QHash>
#include <cstdint>
#include <cstdlib>

namespace {

// Files in memory: the disk (and its syncs) would slow the fuzzer a hundredfold.
class MemoryFiles : public DatabaseFiles {
public:
    QHash<QString, QByteArray> files;

    bool exists(const QString& path) const override { return files.contains(path); }
    std::optional<QByteArray> readFile(const QString& path, Error*) const override { return files.value(path); }
    bool writeFile(const QByteArray& bytes, const QString& path, Error*, const std::function<void()>& beforeReplacing) override
    {
        if (beforeReplacing)
            beforeReplacing();
        files.insert(path, bytes);
        return true;
    }
    bool makeFolder(const QString&, Error*) override { return true; }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    gLogMask = 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FakeModelTexts texts;
    auto files = std::make_unique<MemoryFiles>();
    MemoryFiles& disk = *files;
    DatabaseSerializer serializer(QStringLiteral("/data"), QStringLiteral("Lanternwick"), texts, std::move(files));
    const QString store = serializer.storeFilename();
    disk.files.insert(store, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));

    ObjectContext context(texts);
    if (!serializer.loadDatabaseToManagedObjectContext(context, nullptr))
        return 0;
    // Values the format cannot write (a control character from an XML
    // character reference, say) fail the save with an error; that is allowed.
    if (!serializer.saveDatabaseFromManagedObjectContext(context, nullptr))
        return 0;
    const QByteArray saved = disk.files.value(store);

    ObjectContext reloaded(texts);
    if (!serializer.loadDatabaseToManagedObjectContext(reloaded, nullptr) || !serializer.saveDatabaseFromManagedObjectContext(reloaded, nullptr)
        || disk.files.value(store) != saved)
        std::abort();
    return 0;
}
