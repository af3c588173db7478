#include "ui/views/ItemInspectorRowView.h"

#include "foundation/UserDefaults.h"
#include "ui/icons/ColorFromRgba.h"
#include "ui/views/DelimiterLine.h"

#include <QPainter>

QColor ItemInspectorRowView::alternateBackgroundColor() const
{
    if (!m_alternateBackgroundColor)
        m_alternateBackgroundColor = colorFromRgba(userDefaults().itemInspectorItemsTableAlternateBackgroundColor());
    return *m_alternateBackgroundColor;
}

QColor ItemInspectorRowView::delimiterColor() const
{
    if (!m_delimiterColor)
        m_delimiterColor = colorFromRgba(userDefaults().itemInspectorItemsRowDelimiterColor());
    return *m_delimiterColor;
}

void ItemInspectorRowView::drawSeparatorInRect(QPainter& painter, const QRectF& bounds) const
{
    if (m_usesAlternateBackground)
        painter.fillRect(bounds, alternateBackgroundColor());
    drawDelimiterLine(painter, bounds.left(), bounds.right(), bounds.bottom() - 0.5, delimiterColor(), 1);
}
