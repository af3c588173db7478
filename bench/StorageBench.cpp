// Loading and saving a large item list: the database is read at every start.
#include "foundation/Log.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/DBStartupCondition.h"
#include "model/DatabaseSerializer.h"
#include "model/ObjectContext.h"
#include "texts/Localizator.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A database of the given number of file items sharing ten conditions.
void fill(ObjectContext& context, int items)
{
    DBLoginGroup* group = context.getOrCreateApplicationLoginGroup();
    QList<DBStartupCondition*> conditions;
    for (int index = 0; index < 10; ++index) {
        DBStartupCondition* condition = context.createPowerSourceStartupCondition();
        condition->setConditionSortIndexValue(index);
        conditions.append(condition);
    }
    for (int index = 0; index < items; ++index) {
        DBFileItem* item = context.createFileItemWithPath(QStringLiteral("/usr/share/applications/app-%1.desktop").arg(index));
        item->setItemSortIndexValue(index);
        item->setItemLoginGroup(group);
        item->appendItemStartupConditionsWithConditionObjectsFromArray(conditions.mid(0, index % 10));
    }
}

} // namespace

static void LoadDatabase(benchmark::State& state)
{
    gLogMask = log_mask_for_verbosity(0);
    QTemporaryDir folder;
    DatabaseSerializer serializer(folder.path(), QStringLiteral("Lanternwick"), Localizator::shared());
    {
        ObjectContext context(Localizator::shared());
        fill(context, static_cast<int>(state.range(0)));
        serializer.saveDatabaseFromManagedObjectContext(context, nullptr);
    }
    for (auto _ : state) {
        ObjectContext context(Localizator::shared());
        benchmark::DoNotOptimize(serializer.loadDatabaseToManagedObjectContext(context, nullptr));
    }
}
BENCHMARK(LoadDatabase)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
