#pragma once
// A top-level window of its own that is neither a main window nor a dialog
// (the welcome and about windows, the detached inspector). Screen readers
// meet it as a window read by its title; a plain widget would be read as a
// pane.
#include <QWidget>

class TitledWindow : public QWidget {
    Q_OBJECT
public:
    explicit TitledWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::Window);
};
