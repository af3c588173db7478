// Handing many items back to the session at once (switching Lanternwick off
// with a long list): a create request of N items costs O(N), so 2,000 items
// take about ten times as long as 200.
#include "foundation/Log.h"
#include "foundation/MHKeelhouseKeys.h"
#include "keelhouse/KeelhouseDelegate.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

namespace {

// Documents of their own, each opened at login by its default handler.
QVariantList documentRecords(int count)
{
    const QString folder = QDir::homePath() + QStringLiteral("/Documents");
    QDir().mkpath(folder);
    QVariantList records;
    for (int index = 0; index < count; ++index) {
        const QString path = QStringLiteral("%1/note %2.txt").arg(folder).arg(index);
        QFile file(path);
        if (!file.exists() && file.open(QIODevice::WriteOnly))
            file.write("note\n");
        records.append(QVariantMap { { MHKeelhouseKeys::path, path }, { MHKeelhouseKeys::name, QStringLiteral("Note %1").arg(index) } });
    }
    return records;
}

QString autostartFolder()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart");
}

} // namespace

static void CreateSystemItems(benchmark::State& state)
{
    gLogMask = log_mask_for_verbosity(0);
    const QVariantList records = documentRecords(static_cast<int>(state.range(0)));
    KeelhouseDelegate delegate;
    for (auto _ : state) {
        state.PauseTiming();
        QDir(autostartFolder()).removeRecursively();
        KeelhouseSession session;
        state.ResumeTiming();
        delegate.createSystemItemsWithItems(session, records);
    }
    if (QDir(autostartFolder()).entryList({ QStringLiteral("*.desktop") }).size() != records.size())
        state.SkipWithError("not every item was created");
    QDir(autostartFolder()).removeRecursively();
}
BENCHMARK(CreateSystemItems)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(3);
