#pragma once
// The controls of a window as a screen reader meets them through QAccessible:
// every shown control the user can operate, with the name it is read by.
#include <QAccessible>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QWidget>

struct AccessibleControl {
    QString objectName;
    QString name;
};

inline QList<AccessibleControl> accessibleControls(QObject* root)
{
    static const QList<QAccessible::Role> operated { QAccessible::PushButton, QAccessible::CheckBox, QAccessible::RadioButton,
                                                     QAccessible::ComboBox, QAccessible::Slider, QAccessible::SpinBox,
                                                     QAccessible::EditableText, QAccessible::ButtonMenu, QAccessible::ButtonDropDown,
                                                     QAccessible::Table, QAccessible::List };
    QList<AccessibleControl> controls;
    QList<QAccessibleInterface*> pending { QAccessible::queryAccessibleInterface(root) };
    while (!pending.isEmpty()) {
        QAccessibleInterface* node = pending.takeFirst();
        if (!node || node->state().invisible)
            continue;
        if (operated.contains(node->role()))
            controls.append({ node->object() ? node->object()->objectName() : QString(), node->text(QAccessible::Name) });
        // The rows of a list are read by the list model's texts; those that
        // hold controls (the inspector's conditions) offer them as children.
        for (int index = 0; index < node->childCount(); ++index)
            pending.append(node->child(index));
    }
    return controls;
}

// The object names of the controls read by no name, or by an identifier
// ("delayBeforeLaunchSlider") instead of words.
inline QStringList controlsWithoutHumanNames(QObject* root)
{
    static const QRegularExpression identifier(QStringLiteral("^[a-z]+[A-Z][A-Za-z0-9]*$"));
    QStringList unnamed;
    for (const AccessibleControl& control : accessibleControls(root))
        if (control.name.trimmed().isEmpty() || control.name == control.objectName || identifier.match(control.name).hasMatch())
            unnamed << (control.objectName.isEmpty() ? QStringLiteral("(no object name)") : control.objectName) + QStringLiteral(": \"")
                    + control.name + QLatin1Char('"');
    return unnamed;
}

inline QStringList accessibleNames(QObject* root)
{
    QStringList names;
    for (const AccessibleControl& control : accessibleControls(root))
        names << control.name;
    return names;
}

// Does what a screen reader's action of that name does on the control
// (QAccessibleActionInterface::toggleAction(), pressAction(), …); false when
// the control offers no such action.
inline bool doAccessibleAction(QObject* control, const QString& action)
{
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(control);
    QAccessibleActionInterface* actions = node ? node->actionInterface() : nullptr;
    if (!actions || !actions->actionNames().contains(action))
        return false;
    actions->doAction(action);
    return true;
}
