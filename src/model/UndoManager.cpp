#include "model/UndoManager.h"

#include "foundation/Log.h"

#include <QMetaObject>
#include <utility>

UndoManager::UndoManager(QObject* parent)
    : QObject(parent)
{
}

UndoManager::~UndoManager() = default;

void UndoManager::registerUndo(Action action)
{
    if (!isUndoRegistrationEnabled())
        return;
    if (m_openGroups.empty()) {
        if (!m_groupsByEvent) {
            LOG_ERROR("Undo registered outside of any group, dropping it");
            return;
        }
        beginUndoGrouping();
        m_eventGroupOpen = true;
        // Closes at the end of the current pass of the event loop.
        QMetaObject::invokeMethod(this, &UndoManager::closeEventGroup, Qt::QueuedConnection);
    }
    // A new change makes the undone steps unreachable; an undo or redo fills
    // the opposite stack through its own group.
    if (!m_undoing && !m_redoing)
        m_redoStack.clear();
    m_openGroups.back().actions.push_back(std::move(action));
}

void UndoManager::beginUndoGrouping()
{
    m_openGroups.push_back({});
}

void UndoManager::endUndoGrouping()
{
    if (m_openGroups.empty()) {
        LOG_ERROR("endUndoGrouping called without an open group");
        return;
    }
    Group group = std::move(m_openGroups.back());
    m_openGroups.pop_back();
    if (!m_openGroups.empty()) {
        Group& parent = m_openGroups.back();
        for (Action& action : group.actions)
            parent.actions.push_back(std::move(action));
        if (parent.actionName.isEmpty())
            parent.actionName = group.actionName;
        return;
    }
    m_eventGroupOpen = false;
    if (!group.actions.empty())
        m_undoStack.push_back(std::move(group));
    Q_EMIT didCloseUndoGroup();
}

void UndoManager::closeEventGroup()
{
    if (m_eventGroupOpen && m_openGroups.size() == 1)
        endUndoGrouping();
}

void UndoManager::setGroupsByEvent(bool groupsByEvent)
{
    m_groupsByEvent = groupsByEvent;
}

void UndoManager::setActionName(const QString& name)
{
    if (!m_openGroups.empty())
        m_openGroups.front().actionName = name;
    else if (!m_undoStack.empty())
        m_undoStack.back().actionName = name;
}

QString UndoManager::undoActionName() const
{
    return m_undoStack.empty() ? QString() : m_undoStack.back().actionName;
}

QString UndoManager::openGroupActionName() const
{
    return m_openGroups.empty() ? QString() : m_openGroups.front().actionName;
}

QString UndoManager::redoActionName() const
{
    return m_redoStack.empty() ? QString() : m_redoStack.back().actionName;
}

bool UndoManager::canUndo() const
{
    if (!m_undoStack.empty())
        return true;
    // The group of the current pass can be closed and undone at once.
    return m_eventGroupOpen && m_openGroups.size() == 1 && !m_openGroups.back().actions.empty();
}

bool UndoManager::canRedo() const
{
    return !m_redoStack.empty();
}

void UndoManager::undo()
{
    closeEventGroup();
    if (!m_openGroups.empty()) {
        LOG_ERROR("Cannot undo while an undo group is open");
        return;
    }
    if (m_undoStack.empty())
        return;
    runGroup(m_undoStack, m_redoStack, m_undoing);
    Q_EMIT didUndo();
}

void UndoManager::redo()
{
    closeEventGroup();
    if (!m_openGroups.empty()) {
        LOG_ERROR("Cannot redo while an undo group is open");
        return;
    }
    if (m_redoStack.empty())
        return;
    runGroup(m_redoStack, m_undoStack, m_redoing);
    Q_EMIT didRedo();
}

// Runs the last group of one stack backwards; what the actions register
// forms the matching group on the other stack, under the same name.
void UndoManager::runGroup(std::vector<Group>& from, std::vector<Group>& to, bool& flag)
{
    Group group = std::move(from.back());
    from.pop_back();
    flag = true;
    m_openGroups.push_back({ group.actionName, {} });
    for (auto action = group.actions.rbegin(); action != group.actions.rend(); ++action)
        (*action)();
    Group reverse = std::move(m_openGroups.back());
    m_openGroups.pop_back();
    flag = false;
    if (!reverse.actions.empty())
        to.push_back(std::move(reverse));
}

void UndoManager::disableUndoRegistration()
{
    ++m_disableCount;
}

void UndoManager::enableUndoRegistration()
{
    if (m_disableCount == 0) {
        LOG_ERROR("enableUndoRegistration called more often than disableUndoRegistration");
        return;
    }
    --m_disableCount;
}

void UndoManager::removeAllActions()
{
    m_undoStack.clear();
    m_redoStack.clear();
    m_openGroups.clear();
    m_eventGroupOpen = false;
}
