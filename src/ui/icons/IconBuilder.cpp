#include "ui/icons/IconBuilder.h"

#include <QGuiApplication>

IconBuilder::IconBuilder(char16_t icon)
    : m_icon(icon)
{
}

IconBuilder& IconBuilder::bevelButton()
{
    m_factory = IconFontFactory::bevelButtonIconFactory();
    return *this;
}

IconBuilder& IconBuilder::pushButton()
{
    m_factory = IconFontFactory::pushButtonIconFactory();
    return *this;
}

IconBuilder& IconBuilder::toolbarIcon()
{
    m_factory = IconFontFactory::toolbarItemIconFactory();
    return *this;
}

IconBuilder& IconBuilder::hollow()
{
    m_isHollow = true;
    return *this;
}

IconBuilder& IconBuilder::faded()
{
    return alpha(0.2);
}

IconBuilder& IconBuilder::alpha(double alpha)
{
    m_alpha = qBound(0.0, alpha, 1.0);
    return *this;
}

IconBuilder& IconBuilder::styled(int style)
{
    m_style = style;
    return *this;
}

IconBuilder& IconBuilder::colored(const QColor& color)
{
    m_color = color;
    return *this;
}

QColor IconBuilder::effectiveColor() const
{
    QColor color = m_style == 1 ? QColor(Qt::white) : m_color;
    if (m_alpha)
        color.setAlphaF(float(*m_alpha));
    return color;
}

QPixmap IconBuilder::image() const
{
    return image(qGuiApp->devicePixelRatio());
}

QPixmap IconBuilder::image(qreal devicePixelRatio) const
{
    IconFontFactory factory = m_factory;
    if (m_isHollow) {
        factory.setFillColor(Qt::transparent);
        factory.setStrokeColor(effectiveColor());
        factory.setStrokeWidth(1);
    } else {
        factory.setFillColor(effectiveColor());
        factory.setStrokeWidth(0);
    }
    return factory.createImage(m_icon, devicePixelRatio);
}
