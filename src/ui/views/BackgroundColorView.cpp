#include "ui/views/BackgroundColorView.h"

#include <QPaintEvent>
#include <QPainter>

BackgroundColorView::BackgroundColorView(QWidget* parent)
    : QWidget(parent)
{
}

void BackgroundColorView::setBackgroundColor(const QColor& color)
{
    m_backgroundColor = color;
    update();
}

void BackgroundColorView::setDrawBlock(DrawBlock drawBlock)
{
    m_drawBlock = std::move(drawBlock);
    update();
}

void BackgroundColorView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (!m_drawBlock || m_backgroundColor)
        painter.fillRect(event->rect(), backgroundColor());
    if (m_drawBlock)
        m_drawBlock(*this, painter, event->rect());
}
