#pragma once
// The welcome window, shown at start while the setting asks for it: what
// Lanternwick does, the enabled switch (kept in step with the General
// pane), the box that turns the window off at start, and a link to the
// getting-started help.
#include "ui/base/WindowControllerBase.h"

class DialogPresenter;
class LanternwickEnabledSwitch;
class QCheckBox;

class WelcomeWindowController : public WindowControllerBase {
    Q_OBJECT
public:
    explicit WelcomeWindowController(QObject* parent = nullptr);
    ~WelcomeWindowController() override;

    // Both load the window when needed.
    bool isLanternwickEnabled();
    void setIsLanternwickEnabled(bool enabled);
    // Null goes back to message boxes.
    void setDialogPresenter(DialogPresenter* presenter);

    void showHelp();

protected:
    std::unique_ptr<QWidget> makeWindow() override;
    void windowDidLoad() override;

private:
    LanternwickEnabledSwitch* m_enabledSwitch = nullptr;
    QCheckBox* m_enabledBox = nullptr;
    QCheckBox* m_showAtStartBox = nullptr;
};
