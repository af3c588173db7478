// Loading and saving a large item list: the database is read at every start
// and written after every edit.
#include "foundation/Log.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/DBStartupCondition.h"
#include "model/DatabaseSerializer.h"
#include "model/ObjectContext.h"
#include "texts/Localizator.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A database of the given number of file items sharing the given number of
// conditions, each item with up to three of them.
void fill(ObjectContext& context, int items, int conditionCount)
{
    DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
    QList<DBStartupCondition*> conditions;
    for (int index = 0; index < conditionCount; ++index) {
        DBStartupCondition* condition = context.createPowerSourceStartupCondition();
        condition->setConditionSortIndexValue(index);
        conditions.append(condition);
    }
    for (int index = 0; index < items; ++index) {
        DBFileItem* item = context.createFileItemWithPath(QStringLiteral("/usr/share/applications/app-%1.desktop").arg(index));
        item->setItemSortIndexValue(index);
        item->setItemLoginGroup(group);
        QList<DBStartupCondition*> shared;
        for (int k = 0; k < index % 4; ++k)
            shared.append(conditions[(index * 3 + k) % conditionCount]);
        item->appendItemStartupConditionsWithConditionObjectsFromArray(shared);
    }
}

DatabaseSerializer serializerIn(const QTemporaryDir& folder)
{
    return DatabaseSerializer(folder.path(), QStringLiteral("Lanternwick"), Localizator::shared());
}

} // namespace

static void LoadDatabase(benchmark::State& state)
{
    gLogMask = log_mask_for_verbosity(0);
    QTemporaryDir folder;
    DatabaseSerializer serializer = serializerIn(folder);
    {
        ObjectContext context(Localizator::shared());
        fill(context, static_cast<int>(state.range(0)), 10);
        serializer.saveDatabaseFromManagedObjectContext(context, nullptr);
    }
    for (auto _ : state) {
        ObjectContext context(Localizator::shared());
        benchmark::DoNotOptimize(serializer.loadDatabaseToManagedObjectContext(context, nullptr));
    }
}
BENCHMARK(LoadDatabase)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);

// A start and the save of an edit: the whole file read into a new context,
// then written back with its backup.
static void LoadAndSaveDatabase(benchmark::State& state)
{
    gLogMask = log_mask_for_verbosity(0);
    QTemporaryDir folder;
    DatabaseSerializer serializer = serializerIn(folder);
    {
        ObjectContext context(Localizator::shared());
        fill(context, static_cast<int>(state.range(0)), 1000);
        serializer.saveDatabaseFromManagedObjectContext(context, nullptr);
    }
    for (auto _ : state) {
        ObjectContext context(Localizator::shared());
        if (!serializer.loadDatabaseToManagedObjectContext(context, nullptr)
            || !serializer.saveDatabaseFromManagedObjectContext(context, nullptr))
            state.SkipWithError("The database could not be loaded and saved");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(LoadAndSaveDatabase)->Arg(1000)->Arg(2000)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
