#pragma once
// Tells screen readers when a window takes a new title (the main window's
// page, a preferences pane, a detached inspector): Qt changes the name a
// window is read by without saying so, and a reader that keeps what it has
// read goes on announcing the old one.
#include <QObject>

class WindowTitleAnnouncer : public QObject {
    Q_OBJECT
public:
    // Watches every window of the running application from now on; once.
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
