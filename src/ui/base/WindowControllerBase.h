#pragma once
// Base of every window controller: it owns its top-level window, made and
// loaded on first access, and carries the common objects, which its creator
// sets before the window loads.
#include "texts/LanternwickObject.h"
#include "ui/base/CommonObjectsHolder.h"

#include <QObject>
#include <QWidget>
#include <memory>

class WindowControllerBase : public QObject, public LanternwickObject, public CommonObjectsHolder {
    Q_OBJECT
public:
    explicit WindowControllerBase(QObject* parent = nullptr);
    ~WindowControllerBase() override;

    // Makes and loads the window on first access.
    QWidget* window();
    bool isWindowLoaded() const { return m_window != nullptr; }
    // Shows the window and brings it forward.
    void showWindow();
    void close();

protected:
    virtual std::unique_ptr<QWidget> makeWindow() = 0;
    // The window exists; subclasses check the common objects first.
    virtual void windowDidLoad() {}

private:
    std::unique_ptr<QWidget> m_window;
};
