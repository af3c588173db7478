#pragma once
// Base of every window controller: it owns its top-level window, made and
// loaded on first access, and carries the common objects, which its creator
// sets before the window loads. It answers the commands every window has:
// undo and redo on the one undo manager of the live context, and close.
#include "texts/LanternwickObject.h"
#include "ui/base/CommandResponder.h"
#include "ui/base/CommonObjectsHolder.h"

#include <QObject>
#include <QWidget>
#include <memory>

class WindowControllerBase : public QObject, public LanternwickObject, public CommonObjectsHolder, public CommandResponder {
    Q_OBJECT
public:
    explicit WindowControllerBase(QObject* parent = nullptr);
    ~WindowControllerBase() override;

    // Makes and loads the window on first access.
    QWidget* window();
    bool isWindowLoaded() const { return m_window != nullptr; }
    // Shows the window, no larger than the screen's free area (frame
    // included), and brings it forward.
    void showWindow();
    // Shows the window the same way but leaves the keyboard and the front
    // to the window in use.
    void showWindowWithoutActivation();
    static void fitWindowToScreen(QWidget& window);
    void close();
    // The controller of a window made by a window controller, else null.
    static WindowControllerBase* controllerOfWindow(const QWidget* window);

    bool respondsToCommand(const QString& command) const override;
    bool validateCommand(const QString& command, QAction& item) override;
    void performCommand(const QString& command) override;

protected:
    virtual std::unique_ptr<QWidget> makeWindow() = 0;
    // The window exists; subclasses check the common objects first.
    virtual void windowDidLoad() {}

private:
    std::unique_ptr<QWidget> m_window;
};
