#pragma once
// A control that Tab or Shift+Tab reaches is scrolled into view in every
// list or pane that holds it, so that an arrow key never changes a value
// the user cannot see. One filter on the application serves every window.
#include <QObject>

class QWidget;

class TabFocusScroller : public QObject {
    Q_OBJECT
public:
    // Once for the application; later calls do nothing.
    static void install();
    static void scrollIntoView(QWidget& control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
