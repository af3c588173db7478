#include "ui/base/WindowControllerBase.h"

WindowControllerBase::WindowControllerBase(QObject* parent)
    : QObject(parent)
{
}

WindowControllerBase::~WindowControllerBase() = default;

QWidget* WindowControllerBase::window()
{
    if (!m_window) {
        m_window = makeWindow();
        windowDidLoad();
    }
    return m_window.get();
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
