// A disabled log level must cost one test at the call site and no formatting.
#include "foundation/Log.h"

#include <benchmark/benchmark.h>

static void DisabledLevel(benchmark::State& state)
{
    gLogMask = log_mask_for_verbosity(0);
    const QString name = QStringLiteral("Some Application.desktop");
    for (auto _ : state)
        LOG_DEBUG("Item %1 at %2 with %3", name, 42, 3.5);
}
BENCHMARK(DisabledLevel);

static void FormattingALine(benchmark::State& state)
{
    const QString name = QStringLiteral("Some Application.desktop");
    for (auto _ : state)
        benchmark::DoNotOptimize(log_format(QStringLiteral("Item %1 at %2 with %3"), name, 42, 3.5));
}
BENCHMARK(FormattingALine);

BENCHMARK_MAIN();
