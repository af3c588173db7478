#pragma once
// Writes a picture of each window, page and menu of the running program into
// a folder, then quits: the program's side of scripts/screenshots. Started by
// the environment variable LANTERNWICK_SCREENSHOTS=<folder>.
#include "foundation/NotificationCenter.h"

#include <QObject>
#include <QString>

class ApplicationWindowControllers;
class MainItemsViewController;
class MainWindowController;
class QWidget;

class ScreenshotWriter : public QObject {
    Q_OBJECT
public:
    ScreenshotWriter(ApplicationWindowControllers& windows, QString folder);

private:
    void writeAll();
    void writeSystemItems(MainWindowController& controller, QWidget& window);
    void writeSecondaryWindows();
    void writeRun(QWidget& window, MainItemsViewController& items);
    void writeSimulation(MainWindowController& controller, QWidget& window, MainItemsViewController& items);
    void write(QWidget& widget, const QString& name);
    // Lets animations run their course.
    static void settle(int milliseconds);

    ApplicationWindowControllers& m_windows;
    const QString m_folder;
    bool m_started = false;
    NotificationCenter::Token m_readToken;
};
