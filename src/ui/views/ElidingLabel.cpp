#include "ui/views/ElidingLabel.h"

#include <QEvent>
#include <QFontMetrics>

ElidingLabel::ElidingLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidingLabel::setFullText(const QString& text)
{
    m_fullText = text;
    setToolTip(text);
    setAccessibleName(text);
    setAccessibleDescription(text);
    updateGeometry();
    elide();
}

QSize ElidingLabel::sizeHint() const
{
    const QMargins margins = contentsMargins();
    return QSize(fontMetrics().horizontalAdvance(m_fullText) + margins.left() + margins.right(), QLabel::sizeHint().height());
}

QSize ElidingLabel::minimumSizeHint() const
{
    const QMargins margins = contentsMargins();
    return QSize(fontMetrics().horizontalAdvance(QStringLiteral("…")) + margins.left() + margins.right(), QLabel::minimumSizeHint().height());
}

void ElidingLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidingLabel::showEvent(QShowEvent* event)
{
    QLabel::showEvent(event);
    elide();
}

void ElidingLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        elide();
}

void ElidingLabel::elide()
{
    // Line breaks in a name would make a second line the label has no room for.
    QString line = m_fullText;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    // Until it is laid out on screen it has no width to fit.
    setText(isVisible() ? fontMetrics().elidedText(line, Qt::ElideRight, contentsRect().width()) : line);
}
