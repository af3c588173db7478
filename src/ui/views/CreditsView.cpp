#include "ui/views/CreditsView.h"
#include "ui/views/CreditsViewAccessible.h"

#include <QAbstractTextDocumentLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QVariantAnimation>
#include <cmath>

CreditsView::CreditsView(QWidget* parent)
    : QWidget(parent)
    , m_animation(new QVariantAnimation(this))
{
    m_animation->setStartValue(0.0);
    m_animation->setEndValue(1.0);
    m_animation->setEasingCurve(QEasingCurve::Linear);
    m_animation->setLoopCount(-1);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_progress = value.toReal();
        update();
    });
    setAutoFillBackground(false);
    // Also links the interface, which installs itself with the application.
    CreditsViewAccessible::install();
}

CreditsView::~CreditsView() = default;

void CreditsView::setHtml(const QString& html)
{
    m_document.setHtml(html);
    update();
}

void CreditsView::setFade(const QColor& outer, const QColor& inner, qreal height)
{
    m_outerFade = outer;
    m_innerFade = inner;
    m_fadeHeight = std::max<qreal>(0, height);
    update();
}

void CreditsView::startScrolling(double passSeconds)
{
    const double seconds = std::isfinite(passSeconds) ? std::max(passSeconds, minimumPassSeconds) : minimumPassSeconds;
    m_animation->stop();
    resetScrollPosition();
    m_animation->setDuration(int(std::min(seconds, 86400.0) * 1000));
    m_animation->start();
}

void CreditsView::stopScrolling()
{
    m_animation->stop();
    resetScrollPosition();
}

bool CreditsView::isScrolling() const
{
    return m_animation->state() == QAbstractAnimation::Running;
}

void CreditsView::resetScrollPosition()
{
    m_progress = 0;
    update();
}

qreal CreditsView::textHeight() const
{
    m_document.setTextWidth(width());
    return std::ceil(m_document.size().height());
}

qreal CreditsView::fadeHeightCompensation() const
{
    return m_fadeHeight - 2;
}

qreal CreditsView::textTop() const
{
    const qreal compensation = fadeHeightCompensation();
    const qreal start = height() - compensation;
    const qreal end = compensation - textHeight();
    return start + (end - start) * m_progress;
}

void CreditsView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const qreal top = textTop();
    painter.save();
    painter.translate(0, top);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    context.clip = QRectF(0, -top, width(), height());
    m_document.documentLayout()->draw(&painter, context);
    painter.restore();
    if (m_fadeHeight <= 0)
        return;
    QLinearGradient topFade(0, 0, 0, m_fadeHeight);
    topFade.setColorAt(0, m_outerFade);
    topFade.setColorAt(1, m_innerFade);
    painter.fillRect(QRectF(0, 0, width(), m_fadeHeight), topFade);
    QLinearGradient bottomFade(0, height(), 0, height() - m_fadeHeight);
    bottomFade.setColorAt(0, m_outerFade);
    bottomFade.setColorAt(1, m_innerFade);
    painter.fillRect(QRectF(0, height() - m_fadeHeight, width(), m_fadeHeight), bottomFade);
}
