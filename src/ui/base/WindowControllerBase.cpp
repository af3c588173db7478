#include "ui/base/WindowControllerBase.h"

#include "foundation/Log.h"
#include "model/UndoManager.h"
#include "texts/Localizator.h"
#include "ui/base/CommandNames.h"

#include <QAction>

namespace {
const char* const kControllerProperty = "lanternwickWindowController";
}

WindowControllerBase::WindowControllerBase(QObject* parent)
    : QObject(parent)
{
}

WindowControllerBase::~WindowControllerBase() = default;

QWidget* WindowControllerBase::window()
{
    if (!m_window) {
        m_window = makeWindow();
        m_window->setProperty(kControllerProperty, QVariant::fromValue<QObject*>(this));
        windowDidLoad();
    }
    return m_window.get();
}

WindowControllerBase* WindowControllerBase::controllerOfWindow(const QWidget* window)
{
    return window ? qobject_cast<WindowControllerBase*>(window->property(kControllerProperty).value<QObject*>()) : nullptr;
}

void WindowControllerBase::showWindow()
{
    QWidget* shown = window();
    shown->show();
    shown->raise();
    shown->activateWindow();
}

void WindowControllerBase::close()
{
    if (m_window)
        m_window->close();
}

bool WindowControllerBase::respondsToCommand(const QString& command) const
{
    return command == CommandNames::undo || command == CommandNames::redo || command == CommandNames::performClose;
}

bool WindowControllerBase::validateCommand(const QString& command, QAction& item)
{
    UndoManager* undo = undoManager();
    if (command == CommandNames::undo) {
        setMenuItemTitle(item, localizator().menuItemTitleForUndo(undo && undo->canUndo() ? undo->undoActionName() : QString()));
        return undo && undo->canUndo();
    }
    if (command == CommandNames::redo) {
        setMenuItemTitle(item, localizator().menuItemTitleForRedo(undo && undo->canRedo() ? undo->redoActionName() : QString()));
        return undo && undo->canRedo();
    }
    return command == CommandNames::performClose && isWindowLoaded();
}

void WindowControllerBase::performCommand(const QString& command)
{
    if (command == CommandNames::undo && undoManager()) {
        LOG_NORMAL("Undoing %1...", undoManager()->undoActionName());
        undoManager()->undo();
    } else if (command == CommandNames::redo && undoManager()) {
        LOG_NORMAL("Redoing %1...", undoManager()->redoActionName());
        undoManager()->redo();
    } else if (command == CommandNames::performClose) {
        close();
    }
}
