#include "ui/views/PageTabAccessible.h"

#include "ui/views/ToolBar.h"

#include <QAction>
#include <QToolButton>

PageTabAccessible::PageTabAccessible(QToolButton* button)
    : QAccessibleWidget(button, QAccessible::PageTab)
{
}

void PageTabAccessible::install()
{
    // The tool bar makes its buttons as plain QToolButtons, its
    // children; its overflow button is one of a class of its own.
    QAccessible::installFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
        auto* button = qobject_cast<QToolButton*>(object);
        return button && className == QLatin1String("QToolButton") && button->metaObject() == &QToolButton::staticMetaObject
                && qobject_cast<ToolBar*>(button->parentWidget())
            ? new PageTabAccessible(button)
            : nullptr;
    });
}

QToolButton* PageTabAccessible::button() const
{
    return static_cast<QToolButton*>(widget());
}

QString PageTabAccessible::text(QAccessible::Text kind) const
{
    // The action's text without the marks that keep an "&" from being read as a mnemonic.
    if (kind == QAccessible::Name && button()->accessibleName().isEmpty() && button()->defaultAction())
        return button()->defaultAction()->iconText();
    return QAccessibleWidget::text(kind);
}

QAccessible::State PageTabAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.selectable = true;
    state.selected = button()->isChecked();
    return state;
}

QStringList PageTabAccessible::actionNames() const
{
    return QStringList { pressAction() } + QAccessibleWidget::actionNames();
}

void PageTabAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction())
        button()->click();
    else
        QAccessibleWidget::doAction(actionName);
}
