#pragma once
// What a screen reader reads of a TitledWindow or a PopoverFrame: a window,
// named by its accessible name or else by its title. Qt's own interfaces
// read them as a pane and as a border.
#include <QAccessibleWidget>

class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* window);

    // Makes the interface the one of every TitledWindow and PopoverFrame.
    static void install();
};
