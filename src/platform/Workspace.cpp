#include "platform/Workspace.h"

Workspace::~Workspace() = default;

Workspace::RunningItems::~RunningItems() = default;

Workspace::ApplicationState Workspace::applicationStateForItemAtPath(const QString& path) const
{
    return runningItems()->stateForItemAtPath(path);
}

void Workspace::setDidLaunchHandler(DidLaunchHandler handler)
{
    const std::lock_guard lock(m_handlerMutex);
    m_didLaunchHandler = std::move(handler);
}

void Workspace::notifyDidLaunch(const QString& applicationPath) const
{
    DidLaunchHandler handler;
    {
        // Called outside the lock so that the handler may replace itself.
        const std::lock_guard lock(m_handlerMutex);
        handler = m_didLaunchHandler;
    }
    if (handler)
        handler(applicationPath);
}
