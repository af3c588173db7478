#include "ui/base/PopoverFrame.h"

#include "ui/views/WindowAccessible.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

PopoverFrame::PopoverFrame(QWidget* parent)
    // A tool window rather than a Qt::Popup: screen readers see popups
    // only as menus, never as windows with a title and controls to walk.
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setFrameShape(QFrame::StyledPanel);
    // Also links the interface, which installs itself with the application.
    WindowAccessible::install();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
}

void PopoverFrame::setContentWidget(QWidget* content)
{
    if (m_content == content)
        return;
    if (m_content)
        takeContentWidget(nullptr);
    m_content = content;
    if (content) {
        layout()->addWidget(content);
        content->show();
    }
}

QWidget* PopoverFrame::takeContentWidget(QWidget* newParent)
{
    QWidget* content = m_content;
    m_content = nullptr;
    if (content) {
        layout()->removeWidget(content);
        content->setParent(newParent);
    }
    return content;
}

QPoint PopoverFrame::positionFor(const QRect& anchor, const QSize& size, const QRect& screen, Edge preferredEdge)
{
    Edge edge = preferredEdge;
    switch (preferredEdge) {
    case Edge::Above:
        if (anchor.top() - size.height() < screen.top() && anchor.bottom() + size.height() <= screen.bottom())
            edge = Edge::Below;
        break;
    case Edge::Below:
        if (anchor.bottom() + size.height() > screen.bottom() && anchor.top() - size.height() >= screen.top())
            edge = Edge::Above;
        break;
    case Edge::Right:
        if (anchor.right() + size.width() > screen.right() && anchor.left() - size.width() >= screen.left())
            edge = Edge::Left;
        break;
    case Edge::Left:
        if (anchor.left() - size.width() < screen.left() && anchor.right() + size.width() <= screen.right())
            edge = Edge::Right;
        break;
    }

    const int centredX = anchor.left() + (anchor.width() - size.width()) / 2;
    const int centredY = anchor.top() + (anchor.height() - size.height()) / 2;
    QPoint position;
    switch (edge) {
    case Edge::Above:
        position = QPoint(centredX, anchor.top() - size.height());
        break;
    case Edge::Below:
        position = QPoint(centredX, anchor.bottom() + 1);
        break;
    case Edge::Right:
        position = QPoint(anchor.right() + 1, centredY);
        break;
    case Edge::Left:
        position = QPoint(anchor.left() - size.width(), centredY);
        break;
    }
    // Inside the screen wherever it fits; a popover larger than the screen keeps its top left corner on it.
    position.setX(std::max(std::min(position.x(), screen.right() + 1 - size.width()), screen.left()));
    position.setY(std::max(std::min(position.y(), screen.bottom() + 1 - size.height()), screen.top()));
    return position;
}

void PopoverFrame::showRelativeTo(QWidget* anchor, const QRect& rect, Edge preferredEdge)
{
    const QRect global(anchor->mapToGlobal(rect.topLeft()), rect.size());
    QScreen* screen = anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(global.topLeft(), sizeHint());
    // The size the content asks for at every opening (adjustSize would
    // shrink a window with wrapped text by its own rules), never larger than the screen.
    resize(sizeHint().boundedTo(available.size()).expandedTo(minimumSizeHint().boundedTo(available.size())));
    move(positionFor(global, size(), available, preferredEdge));
    show();
    raise();
    activateWindow();
    // The keyboard comes along, as it would into a popup: to the first
    // control that Tab reaches.
    if (!isAncestorOf(focusWidget()))
        for (QWidget* control = nextInFocusChain(); control != this; control = control->nextInFocusChain())
            if (isAncestorOf(control) && control->isVisible() && control->isEnabled() && (control->focusPolicy() & Qt::TabFocus)) {
                control->setFocus(Qt::PopupFocusReason);
                break;
            }
}

bool PopoverFrame::event(QEvent* event)
{
    // Clicking elsewhere or switching to another window closes it, as a
    // popup would close.
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
    return QFrame::event(event);
}

void PopoverFrame::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        hide();
        return;
    }
    QFrame::keyPressEvent(event);
}

void PopoverFrame::hideEvent(QHideEvent* event)
{
    QFrame::hideEvent(event);
    Q_EMIT closed();
}
