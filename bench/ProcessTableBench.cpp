// The look at the processes that a run makes before each item: what it costs
// to find the one process that began since the last look (as the item
// launched before it), and to find that nothing began. Each new process is
// a program of the user that waits, started and ended outside the timing.
#include "platform/linux/ProcessTable.h"

#include <benchmark/benchmark.h>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// An entry no process was launched from: the question reads every environment.
const QString kEntry = QStringLiteral("/nonexistent/item.desktop");

pid_t startWaitingProgram()
{
    char program[] = LW_BENCH_PROGRAM;
    char wait[] = "--wait";
    char* const arguments[] = { program, wait, nullptr };
    pid_t pid = 0;
    return posix_spawn(&pid, program, nullptr, nullptr, arguments, environ) == 0 ? pid : 0;
}

void end(pid_t pid)
{
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

} // namespace

static void LookAtANewProcess(benchmark::State& state)
{
    ProcessTable table(QStringLiteral("/proc"), getuid());
    table.processesLaunchedFrom(kEntry);
    for (auto _ : state) {
        state.PauseTiming();
        const pid_t pid = startWaitingProgram();
        if (pid <= 0) {
            state.SkipWithError("the program could not be started");
            break;
        }
        state.ResumeTiming();
        table.refresh();
        benchmark::DoNotOptimize(table.processesLaunchedFrom(kEntry));
        state.PauseTiming();
        end(pid);
        state.ResumeTiming();
    }
}
BENCHMARK(LookAtANewProcess)->Unit(benchmark::kMicrosecond);

static void LookWithNothingNew(benchmark::State& state)
{
    ProcessTable table(QStringLiteral("/proc"), getuid());
    table.processesLaunchedFrom(kEntry);
    for (auto _ : state) {
        table.refresh();
        benchmark::DoNotOptimize(table.processesLaunchedFrom(kEntry));
    }
}
BENCHMARK(LookWithNothingNew)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
