#include "ui/views/StartupConditionCellView.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>

namespace {

// Labels and read-only fields; a field the user can type in is left alone.
bool isNonEditableText(QWidget* widget)
{
    if (qobject_cast<QLabel*>(widget))
        return true;
    auto* field = qobject_cast<QLineEdit*>(widget);
    return field && field->isReadOnly();
}

} // namespace

StartupConditionCellView::StartupConditionCellView(QWidget* parent)
    : QWidget(parent)
{
}

void StartupConditionCellView::setBackgroundStyle(BackgroundStyle style)
{
    m_backgroundStyle = style;
    const QColor textColor = palette().color(style == BackgroundStyle::Dark ? QPalette::Window : QPalette::Text);
    updateBackgroundStyleForSubviewsOfView(this, textColor);
}

void StartupConditionCellView::setUsageView(QAbstractButton* usageView)
{
    m_usageView = usageView;
    connect(usageView, &QAbstractButton::toggled, this, [this] {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    });
}

void StartupConditionCellView::updateBackgroundStyleForSubviewsOfView(QWidget* view, const QColor& textColor)
{
    const QList<QWidget*> subviews = view->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* subview : subviews) {
        updateBackgroundStyleForSubviewsOfView(subview, textColor);
        if (!isNonEditableText(subview))
            continue;
        QPalette palette = subview->palette();
        palette.setColor(subview->foregroundRole(), textColor);
        subview->setPalette(palette);
    }
}
