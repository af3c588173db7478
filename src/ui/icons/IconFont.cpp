#include "ui/icons/IconFont.h"

#include "foundation/Log.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStandardPaths>

IconFont::IconFont(const QStringList& candidatePaths)
{
    for (const QString& path : candidatePaths) {
        if (!QFileInfo(path).isFile())
            continue;
        const int id = QFontDatabase::addApplicationFont(path);
        const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty()) {
            m_family = families.first();
            return;
        }
    }
}

QStringList IconFont::standardCandidatePaths()
{
    const QString relativePath = QStringLiteral("fonts/truetype/font-awesome/fontawesome-webfont.ttf");
    QStringList paths = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, relativePath);
    // Where Debian puts it, for sessions whose XDG_DATA_DIRS leave /usr/share out.
    paths.append(QStringLiteral("/usr/share/") + relativePath);
    paths.removeDuplicates();
    return paths;
}

const IconFont& IconFont::shared()
{
    static const IconFont font = [] {
        const QStringList candidates = standardCandidatePaths();
        IconFont loaded(candidates);
        if (!loaded.isAvailable())
            LOG_ERROR("Icon font not found (looked for %1): symbols are left empty. Install fonts-font-awesome.",
                      candidates.join(QStringLiteral(", ")));
        return loaded;
    }();
    return font;
}

QFont IconFont::font(int pixelSize) const
{
    QFont font(m_family);
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

bool IconFont::hasGlyph(char16_t codePoint) const
{
    return isAvailable() && QFontMetricsF(font(16)).inFontUcs4(codePoint);
}
