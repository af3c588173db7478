#pragma once
// Draws one glyph of the icon font into a square image: filled with one
// colour and outlined with another. The presets give the sizes of the places
// the symbols go.
#include <QColor>
#include <QFont>
#include <QPixmap>

class IconFont;

class IconFontFactory {
public:
    explicit IconFontFactory(const IconFont& font);
    // The shared icon font, 32 points, a black glyph without outline.
    IconFontFactory();

    static IconFontFactory bevelButtonIconFactory();
    static IconFontFactory pushButtonIconFactory();
    static IconFontFactory toolbarItemIconFactory();

    // The side of the image, in device-independent pixels.
    int size() const { return m_size; }
    void setSize(int size);
    void setFillColor(const QColor& color) { m_fillColor = color; }
    void setStrokeColor(const QColor& color) { m_strokeColor = color; }
    // 0 draws no outline.
    void setStrokeWidth(qreal width) { m_strokeWidth = width; }

    // The glyph centred in the square and shrunk to fit it, outline
    // included. Without the font or the glyph the image stays transparent.
    QPixmap createImage(char16_t icon, qreal devicePixelRatio) const;

private:
    QPixmap drawImage(char16_t icon, const QFont& font, qreal ratio) const;

    const IconFont* m_font;
    int m_size = 32;
    QColor m_fillColor = Qt::black;
    QColor m_strokeColor = Qt::black;
    qreal m_strokeWidth = 0;
};
