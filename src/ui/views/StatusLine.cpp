#include "ui/views/StatusLine.h"

#include "ui/views/ElidingLabel.h"

#include <QEvent>

StatusLine::StatusLine(QWidget* parent)
    : QWidget(parent)
    , m_label(new ElidingLabel(this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(QuietMs);
    connect(&m_quiet, &QTimer::timeout, this, &StatusLine::showLatest);
}

void StatusLine::setText(const QString& text)
{
    m_text = text;
    if (!m_quiet.isActive())
        showLatest();
}

void StatusLine::showLatest()
{
    if (m_text == m_label->fullText())
        return;
    m_label->setFullText(m_text);
    m_quiet.start();
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
