#include "platform/fake/FakeWorkspace.h"

#include "platform/CanonicalPath.h"

Workspace::LaunchResult FakeWorkspace::openItemAtPath(const QString& path, LaunchOptions options)
{
    {
        const std::lock_guard lock(m_mutex);
        m_openRequests.append({ path, options });
        if (!m_files.contains(canonicalPath(path)))
            return LaunchResult::failure(QStringLiteral("The file %1 does not exist.").arg(path));
        const auto failure = m_failures.constFind(canonicalPath(path));
        if (failure != m_failures.cend())
            return LaunchResult::failure(*failure);
    }
    notifyDidLaunch(path);
    return LaunchResult::success();
}

namespace {

class FakeRunningItems : public Workspace::RunningItems {
public:
    explicit FakeRunningItems(const FakeWorkspace& workspace)
        : m_workspace(workspace)
        , m_running(workspace.runningApplications())
    {
    }

    void refresh() override { m_running = m_workspace.runningApplications(); }

    Workspace::ApplicationState stateForItemAtPath(const QString& path) const override
    {
        const auto running = m_running.constFind(canonicalPath(path));
        if (running == m_running.cend())
            return Workspace::ApplicationState::NotRunning;
        return *running ? Workspace::ApplicationState::FinishedLaunching : Workspace::ApplicationState::Launching;
    }

private:
    const FakeWorkspace& m_workspace;
    QHash<QString, bool> m_running;
};

} // namespace

std::unique_ptr<Workspace::RunningItems> FakeWorkspace::runningItems() const
{
    return std::make_unique<FakeRunningItems>(*this);
}

QHash<QString, bool> FakeWorkspace::runningApplications() const
{
    const std::lock_guard lock(m_mutex);
    return m_running;
}

bool FakeWorkspace::hideWindowsOfApplication(const QString& applicationPath)
{
    const std::lock_guard lock(m_mutex);
    m_hideRequests.append(applicationPath);
    return m_canHideWindows;
}

bool FakeWorkspace::isMissingItemAtPath(const QString& path) const
{
    const std::lock_guard lock(m_mutex);
    return path.isEmpty() || !m_files.contains(canonicalPath(path));
}

ItemPathType FakeWorkspace::typeForItemAtPath(const QString& path) const
{
    const std::lock_guard lock(m_mutex);
    return m_files.value(canonicalPath(path)).type;
}

QString FakeWorkspace::displayNameForItemAtPath(const QString& path) const
{
    const std::lock_guard lock(m_mutex);
    return m_files.value(canonicalPath(path)).displayName;
}

QString FakeWorkspace::descriptionForItemAtPath(const QString& path) const
{
    const std::lock_guard lock(m_mutex);
    return m_files.value(canonicalPath(path)).description;
}

QString FakeWorkspace::iconNameForItemAtPath(const QString& path) const
{
    const std::lock_guard lock(m_mutex);
    return m_files.value(canonicalPath(path)).iconName;
}

void FakeWorkspace::addFile(const QString& path, const FileFacts& facts)
{
    const std::lock_guard lock(m_mutex);
    m_files.insert(canonicalPath(path), facts);
}

void FakeWorkspace::failOpening(const QString& path, const QString& errorDescription)
{
    const std::lock_guard lock(m_mutex);
    m_failures.insert(canonicalPath(path), errorDescription);
}

void FakeWorkspace::setRunningApplication(const QString& path, bool isFinishedLaunching)
{
    const std::lock_guard lock(m_mutex);
    m_running.insert(canonicalPath(path), isFinishedLaunching);
}

void FakeWorkspace::removeRunningApplication(const QString& path)
{
    const std::lock_guard lock(m_mutex);
    m_running.remove(canonicalPath(path));
}

void FakeWorkspace::setCanHideWindows(bool canHide)
{
    const std::lock_guard lock(m_mutex);
    m_canHideWindows = canHide;
}

QList<FakeWorkspace::OpenRequest> FakeWorkspace::openRequests() const
{
    const std::lock_guard lock(m_mutex);
    return m_openRequests;
}

QStringList FakeWorkspace::hideRequests() const
{
    const std::lock_guard lock(m_mutex);
    return m_hideRequests;
}

void FakeWorkspace::rememberLaunch(const QString& path, qint64 pid, qint64)
{
    std::lock_guard lock(m_mutex);
    m_rememberedLaunches.append({ path, pid });
}

QList<std::pair<QString, qint64>> FakeWorkspace::rememberedLaunches() const
{
    std::lock_guard lock(m_mutex);
    return m_rememberedLaunches;
}
