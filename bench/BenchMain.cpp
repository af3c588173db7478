// Entry point of the benchmarks that touch files or run the engine: a
// temporary home (HOME and every XDG_* folder), so that nothing is read from
// or written to the real one, and a QCoreApplication whose event loop serves
// the main-thread work.
#include "platform/linux/LinuxWorkspace.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    QTemporaryDir home(QDir::tempPath() + "/lanternwick-bench-XXXXXX");
    if (!isolateTestHome(home))
        return 2;
    // Programs start as they do in the application.
    LinuxWorkspace::useLauncher(QStringLiteral(LW_LAUNCHER_PROGRAM));
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
