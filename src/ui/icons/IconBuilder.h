#pragma once
// One symbol to draw: a glyph of the icon font with its colour, alpha and
// style. Every setter returns the builder, so a description reads as one
// chain: manager.itemShownIcon().styled(1).image().
#include "ui/icons/IconFontFactory.h"

#include <QColor>
#include <QPixmap>
#include <optional>

class IconBuilder {
public:
    explicit IconBuilder(char16_t icon);

    IconBuilder& bevelButton();
    IconBuilder& pushButton();
    IconBuilder& toolbarIcon();
    // Outline only.
    IconBuilder& hollow();
    IconBuilder& faded();
    // Replaces the alpha of the colour; 0 is fully transparent.
    IconBuilder& alpha(double alpha);
    // 1 draws white, for the background of a selected row; 0 the colour.
    IconBuilder& styled(int style);
    IconBuilder& colored(const QColor& color);

    // At the application's device pixel ratio.
    QPixmap image() const;
    QPixmap image(qreal devicePixelRatio) const;

private:
    QColor effectiveColor() const;

    char16_t m_icon;
    QColor m_color = Qt::black;
    std::optional<double> m_alpha;
    int m_style = 0;
    bool m_isHollow = false;
    IconFontFactory m_factory;
};
