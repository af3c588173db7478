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

QList<Workspace::RunningApplication> FakeWorkspace::runningApplications() const
{
    const std::lock_guard lock(m_mutex);
    return m_running;
}

Workspace::ApplicationState FakeWorkspace::applicationStateForItemAtPath(const QString& path) const
{
    const std::lock_guard lock(m_mutex);
    const QString itemPath = canonicalPath(path);
    for (const RunningApplication& application : m_running) {
        if (application.launchedFromPath == itemPath)
            return application.isFinishedLaunching ? ApplicationState::FinishedLaunching : ApplicationState::Launching;
    }
    return ApplicationState::NotRunning;
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
    removeRunningApplication(path);
    const std::lock_guard lock(m_mutex);
    const QString applicationPath = canonicalPath(path);
    m_running.append({ m_running.size() + 1000, applicationPath, applicationPath, isFinishedLaunching });
}

void FakeWorkspace::removeRunningApplication(const QString& path)
{
    const std::lock_guard lock(m_mutex);
    const QString applicationPath = canonicalPath(path);
    m_running.removeIf([&](const RunningApplication& application) { return application.launchedFromPath == applicationPath; });
}

QList<FakeWorkspace::OpenRequest> FakeWorkspace::openRequests() const
{
    const std::lock_guard lock(m_mutex);
    return m_openRequests;
}
