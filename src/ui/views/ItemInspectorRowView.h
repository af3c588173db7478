#pragma once
// How a row of the inspector's tables is drawn behind its cells: the
// alternate stripe and the dotted rule along its bottom edge. Rows in Qt's
// item views are not widgets, so this is the drawing alone; the delegate of
// a row calls it with the row's rectangle before painting the cell.
#include "texts/LanternwickObject.h"

#include <QColor>
#include <QRectF>
#include <optional>

class QPainter;

class ItemInspectorRowView : public LanternwickObject {
public:
    bool usesAlternateBackground() const { return m_usesAlternateBackground; }
    void setUsesAlternateBackground(bool uses) { m_usesAlternateBackground = uses; }

    // From "Layout.ItemInspectorView.AlternateRowBackgroundColor" on first use.
    QColor alternateBackgroundColor() const;
    void setAlternateBackgroundColor(const QColor& color) { m_alternateBackgroundColor = color; }
    // From "Layout.ItemInspectorView.ItemsRowDelimiterColor" on first use.
    QColor delimiterColor() const;
    void setDelimiterColor(const QColor& color) { m_delimiterColor = color; }

    // Draws inside bounds only: the rule takes the row's last pixel row.
    void drawSeparatorInRect(QPainter& painter, const QRectF& bounds) const;

private:
    bool m_usesAlternateBackground = false;
    mutable std::optional<QColor> m_alternateBackgroundColor;
    mutable std::optional<QColor> m_delimiterColor;
};
