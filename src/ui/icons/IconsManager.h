#pragma once
// Which glyph of the icon font stands for what: the startup modes of a file
// item and the kinds of the other items. Each method gives a new builder the
// caller styles and renders. Main thread only, like all drawing.
#include "texts/LanternwickObject.h"
#include "ui/icons/IconBuilder.h"

#include <QColor>
#include <optional>

class IconsManager : public LanternwickObject {
public:
    IconsManager() = default;
    static IconsManager& sharedInstance();

    // From the setting "Layout.LoginItemView.DisabledActionIconColor" on
    // first use, then kept.
    QColor disabledIconColor() const;
    void setDisabledIconColor(const QColor& color) { m_disabledIconColor = color; }

    IconBuilder icon(char16_t icon) const { return IconBuilder(icon); }
    IconBuilder itemShownIcon() const;
    IconBuilder itemHiddenIcon() const;
    IconBuilder itemDisabledIcon() const;
    IconBuilder delayItemIcon() const;
    IconBuilder waitPreviousItemIcon() const;
    IconBuilder conditionalPreviousItemIcon() const;

private:
    mutable std::optional<QColor> m_disabledIconColor;
};
