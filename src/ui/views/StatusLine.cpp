#include "ui/views/StatusLine.h"

#include "ui/views/ElidingLabel.h"

#include <QEvent>

StatusLine::StatusLine(QWidget* parent)
    : QWidget(parent)
    , m_label(new ElidingLabel(this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void StatusLine::setText(const QString& text)
{
    if (text != m_label->fullText())
        m_label->setFullText(text);
}

QString StatusLine::text() const
{
    return m_label->fullText();
}

QSize StatusLine::sizeHint() const
{
    return m_label->minimumSizeHint();
}

QSize StatusLine::minimumSizeHint() const
{
    return m_label->minimumSizeHint();
}

void StatusLine::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_label->setGeometry(rect());
}

void StatusLine::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The one size that follows the text's look rather than the text.
    if (event->type() == QEvent::FontChange)
        updateGeometry();
}
