#include "ui/base/WindowControllerBase.h"

#include "foundation/Log.h"
#include "model/UndoManager.h"
#include "texts/Localizator.h"
#include "ui/base/CommandNames.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

namespace {
const char* const kControllerProperty = "lanternwickWindowController";
// A title bar and borders, as window managers draw them.
constexpr QSize kFrameAllowance(16, 40);
} // namespace

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

void WindowControllerBase::fitWindowToScreen(QWidget& window)
{
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The frame is known only once a window manager has framed the window.
    const QSize frame = window.isVisible() ? window.frameGeometry().size() - window.size() : kFrameAllowance;
    const QSize room = screen->availableGeometry().size() - frame;
    window.resize(window.size().boundedTo(room.expandedTo(window.minimumSize())));
}

void WindowControllerBase::showWindow()
{
    QWidget* shown = window();
    fitWindowToScreen(*shown);
    shown->show();
    shown->raise();
    shown->activateWindow();
}

void WindowControllerBase::showWindowWithoutActivation()
{
    QWidget* shown = window();
    if (shown->isVisible())
        return;
    fitWindowToScreen(*shown);
    // Mapped with a user time of zero, which window managers take as "do
    // not focus".
    shown->setAttribute(Qt::WA_ShowWithoutActivating);
    shown->show();
    shown->setAttribute(Qt::WA_ShowWithoutActivating, false);
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
