#pragma once
// What a screen reader reads of a button of a ToolBar, which chooses a page
// (a preferences pane): a page tab named by its label, selected while its
// page shows, pressed to show it. Qt's own interface reads a checkable tool
// button as a check box.
#include <QAccessibleWidget>

class QToolButton;

class PageTabAccessible : public QAccessibleWidget {
public:
    explicit PageTabAccessible(QToolButton* button);

    // Makes the interface the one of every button of a ToolBar made from
    // now on. Installed by the first ToolBar, once the application exists:
    // the buttons are plain QToolButtons, for which the application's own
    // factory answers unless a later one answers first.
    static void install();

    QString text(QAccessible::Text kind) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QToolButton* button() const;
};
