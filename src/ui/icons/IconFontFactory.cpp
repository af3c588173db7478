#include "ui/icons/IconFontFactory.h"

#include "ui/icons/IconFont.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QtMath>

IconFontFactory::IconFontFactory(const IconFont& font)
    : m_font(&font)
{
}

IconFontFactory::IconFontFactory()
    : IconFontFactory(IconFont::shared())
{
}

IconFontFactory IconFontFactory::bevelButtonIconFactory()
{
    IconFontFactory factory;
    factory.setSize(16);
    return factory;
}

IconFontFactory IconFontFactory::pushButtonIconFactory()
{
    IconFontFactory factory;
    factory.setSize(14);
    return factory;
}

IconFontFactory IconFontFactory::toolbarItemIconFactory()
{
    IconFontFactory factory;
    factory.setSize(24);
    return factory;
}

void IconFontFactory::setSize(int size)
{
    m_size = qMax(1, size);
}

QPixmap IconFontFactory::createImage(char16_t icon, qreal devicePixelRatio) const
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    // Rows draw their symbols each time they are painted: each image is drawn once.
    const QFont font = m_font->font(m_size);
    const QString key = QStringLiteral("lanternwick-icon/%1/%2/%3/%4/%5/%6/%7")
                            .arg(font.key())
                            .arg(m_size)
                            .arg(int(icon))
                            .arg(m_fillColor.rgba())
                            .arg(m_strokeColor.rgba())
                            .arg(m_strokeWidth)
                            .arg(ratio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = drawImage(icon, font, ratio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QPixmap IconFontFactory::drawImage(char16_t icon, const QFont& font, qreal ratio) const
{
    const int side = qMax(1, qCeil(m_size * ratio));
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    if (!m_font->hasGlyph(icon))
        return pixmap;

    QPainterPath glyph;
    glyph.addText(0, 0, font, QString(QChar(icon)));
    const QRectF bounds = glyph.boundingRect();
    if (bounds.isEmpty())
        return pixmap;
    // Half the outline lies outside the glyph's edge; it must stay in the image too.
    const qreal room = m_size - m_strokeWidth;
    const qreal scale = qMin(1.0, room / qMax(bounds.width(), bounds.height()));

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(m_size / 2.0, m_size / 2.0);
    painter.scale(scale, scale);
    painter.translate(-bounds.center());
    painter.fillPath(glyph, m_fillColor);
    if (m_strokeWidth > 0)
        painter.strokePath(glyph, QPen(m_strokeColor, m_strokeWidth / scale));
    return pixmap;
}
