// The cost of each item of a run at login, which must not grow with the
// length of the list. ExecuteItems: the execute state opens N copies of a
// program that exits at once, one after another, with the real workspace and
// the real machine-state source, on a temporary home; the second argument
// adds that many idle processes of the user, which a run must not pay for.
// ExecuteEntries: the same with a desktop entry for each copy. SpawnPrograms
// and LaunchEntries: the floors of the two, bare loops of the same launches
// (LaunchLoops.h): per_item beyond theirs is what a step costs beside its
// launch. JudgeItems: the same run with a workspace that opens nothing, so
// that only the engine's own work per item is timed.
#include "helpers/LaunchLoops.h"

#include "engine/ApplicationContext.h"
#include "engine/ContextBatchInfo.h"
#include "engine/StateChain.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/UserDefaults.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/ObjectContext.h"
#include "platform/fake/FakeWorkspace.h"
#include "shell/ApplicationHelpers.h"
#include "shell/DesktopNotifications.h"
#include "texts/Localizator.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// Idle processes of the user for as long as it lives.
class IdleProcesses {
public:
    explicit IdleProcesses(int count)
    {
        const QByteArray program = QFile::encodeName(QStringLiteral(LW_BENCH_PROGRAM));
        char wait[] = "--wait";
        for (int index = 0; index < count; ++index) {
            char* const argv[] = { const_cast<char*>(program.constData()), wait, nullptr };
            pid_t pid = 0;
            if (posix_spawn(&pid, program.constData(), nullptr, nullptr, argv, environ) == 0)
                m_pids.push_back(pid);
        }
    }
    ~IdleProcesses()
    {
        for (const pid_t pid : m_pids)
            kill(pid, SIGTERM);
        for (const pid_t pid : m_pids)
            waitpid(pid, nullptr, 0);
    }

private:
    std::vector<pid_t> m_pids;
};

// The settings of a login run without delays or auto close.
void configure(UserDefaults& defaults)
{
    defaults.setIsDelayBeforeItemsExecutionEnabled(false);
    defaults.setIsDelayBetweenItemsDuringExecutionEnabled(false);
    defaults.setIsAutoCloseAfterItemsExecutionEnabled(false);
}

QString itemPath(const QString& folder, int index)
{
    return QStringLiteral("%1/item-%2").arg(folder).arg(index);
}

enum class ItemKind { Program, DesktopEntry };

// count copies of the program in folder, each an item of the list, or each
// started by an entry of the list; answers their paths.
QStringList writeItems(const QString& folder, int count, ItemKind kind)
{
    QStringList paths;
    for (int index = 0; index < count; ++index) {
        const QString program = itemPath(folder, index);
        QFile::copy(QStringLiteral(LW_BENCH_PROGRAM), program);
        if (kind == ItemKind::Program) {
            paths.append(program);
            continue;
        }
        QFile entry(program + QStringLiteral(".desktop"));
        entry.open(QIODevice::WriteOnly);
        entry.write("[Desktop Entry]\nType=Application\nName=Item\nExec=" + QFile::encodeName(program) + "\n");
        paths.append(entry.fileName());
    }
    return paths;
}

std::vector<std::string> fileSystemPaths(const QStringList& paths)
{
    std::vector<std::string> names;
    for (const QString& path : paths)
        names.push_back(QFile::encodeName(path).toStdString());
    return names;
}

std::unique_ptr<ObjectContext> itemsDatabase(const QStringList& paths)
{
    auto context = std::make_unique<ObjectContext>(Localizator::shared());
    DBLoginGroup* group = context->getOrCreateApplicationLoginGroup();
    for (int index = 0; index < paths.size(); ++index) {
        DBFileItem* item = context->createFileItemWithPath(paths[index]);
        item->setItemSortIndexValue(index);
        item->setItemLoginGroup(group);
    }
    return context;
}

void countItems(benchmark::State& state, qsizetype count)
{
    state.counters["per_item"] = benchmark::Counter(static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Runs a list of the items at paths, on demand, as often as state asks;
// without a workspace, with the real one.
void runItems(benchmark::State& state, const QTemporaryDir& folder, const QStringList& paths, std::shared_ptr<Workspace> workspace)
{
    gLogMask = log_mask_for_verbosity(0);
    UserDefaults defaults(folder.path() + QStringLiteral("/settings.conf"));
    configure(defaults);
    NotificationCenter center;

    ApplicationHelpers::Parts parts;
    parts.userDefaults = &defaults;
    parts.notificationCenter = &center;
    parts.workspace = std::move(workspace);
    // No desktop to show the summary of a run on.
    parts.notifications = std::make_shared<DesktopNotifications>(QDBusConnection(QStringLiteral("none")), QStringLiteral("Lanternwick"));
    ApplicationHelpers helpers(parts);
    helpers.setManagedObjectContext(itemsDatabase(paths));
    ApplicationContext& context = helpers.applicationContext();

    for (auto _ : state) {
        auto info = std::make_shared<ContextBatchInfo>();
        info->setIsExecutingOnDemand(true);
        bool ended = false;
        StateChain::start(context, { context.executeItemsState() }, info, [&](const std::shared_ptr<ChainRun>&) { ended = true; });
        while (!ended)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    countItems(state, paths.size());
}

} // namespace

static void ExecuteItems(benchmark::State& state)
{
    const IdleProcesses idle(static_cast<int>(state.range(1)));
    const QTemporaryDir folder;
    runItems(state, folder, writeItems(folder.path(), static_cast<int>(state.range(0)), ItemKind::Program), nullptr);
}
BENCHMARK(ExecuteItems)
    ->ArgNames({ "items", "idle" })
    ->Args({ 50, 0 })
    ->Args({ 200, 0 })
    ->Args({ 400, 0 })
    ->Args({ 50, 500 })
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

static void ExecuteEntries(benchmark::State& state)
{
    const QTemporaryDir folder;
    runItems(state, folder, writeItems(folder.path(), static_cast<int>(state.range(0)), ItemKind::DesktopEntry), nullptr);
}
BENCHMARK(ExecuteEntries)->ArgName("items")->Arg(50)->Arg(200)->UseRealTime()->Unit(benchmark::kMillisecond);

static void SpawnPrograms(benchmark::State& state)
{
    const QTemporaryDir folder;
    const std::vector<std::string> programs = fileSystemPaths(writeItems(folder.path(), static_cast<int>(state.range(0)), ItemKind::Program));
    for (auto _ : state) {
        if (const std::string failure = launch_loops::spawnLoop(programs, nullptr); !failure.empty())
            state.SkipWithError(failure.c_str());
    }
    countItems(state, static_cast<qsizetype>(programs.size()));
}
BENCHMARK(SpawnPrograms)->ArgName("items")->Arg(50)->Arg(200)->UseRealTime()->Unit(benchmark::kMillisecond);

static void LaunchEntries(benchmark::State& state)
{
    const QTemporaryDir folder;
    const std::vector<std::string> entries = fileSystemPaths(writeItems(folder.path(), static_cast<int>(state.range(0)), ItemKind::DesktopEntry));
    for (auto _ : state) {
        if (const std::string failure = launch_loops::gioLoop(entries); !failure.empty())
            state.SkipWithError(failure.c_str());
    }
    countItems(state, static_cast<qsizetype>(entries.size()));
}
BENCHMARK(LaunchEntries)->ArgName("items")->Arg(50)->Arg(200)->UseRealTime()->Unit(benchmark::kMillisecond);

static void JudgeItems(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const QTemporaryDir folder;
    auto workspace = std::make_shared<FakeWorkspace>();
    QStringList paths;
    for (int index = 0; index < count; ++index) {
        paths.append(itemPath(folder.path(), index));
        workspace->addFile(paths.last(), { ItemPathTypeApplication, {}, {}, {} });
    }
    runItems(state, folder, paths, workspace);
}
BENCHMARK(JudgeItems)->ArgName("items")->Arg(50)->Arg(200)->Arg(400)->UseRealTime()->Unit(benchmark::kMillisecond);
