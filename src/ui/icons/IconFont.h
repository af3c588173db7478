#pragma once
// The font of the small symbols: Font Awesome 4.7 of the system package
// fonts-font-awesome, added to the application's fonts once. Without it the
// symbols stay empty and everything else works the same.
#include <QFont>
#include <QStringList>

class IconFont {
public:
    // Adds the first of the files that Qt can read as a font.
    explicit IconFont(const QStringList& candidatePaths);

    // The package's font, looked up in the data folders on first use; its
    // absence is logged once.
    static const IconFont& shared();
    static QStringList standardCandidatePaths();

    bool isAvailable() const { return !m_family.isEmpty(); }
    // The icon font alone at a pixel size: a code point it lacks draws
    // nothing instead of another font's glyph.
    QFont font(int pixelSize) const;
    bool hasGlyph(char16_t codePoint) const;

private:
    QString m_family;
};
