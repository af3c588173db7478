#pragma once
// The Look & feel pane: whether Lanternwick lives in the task bar or in the
// system tray, the size of the item lists and the log verbosity. Going back
// to the task bar happens at once; going to the tray needs a restart, which
// the pane offers. Where the desktop has no tray, the pane says so.
#include "ui/base/ViewControllerBase.h"
#include "ui/preferences/PreferencesPane.h"

#include <functional>

class DockAndStatusBarController;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

class PreferencesLookAndFeelViewController : public ViewControllerBase, public PreferencesPane {
    Q_OBJECT
public:
    // dock must outlive the pane; restart relaunches the application.
    PreferencesLookAndFeelViewController(DockAndStatusBarController& dock, std::function<void()> restart, QWidget* parent = nullptr);
    ~PreferencesLookAndFeelViewController() override;

    QString identifier() const override { return QStringLiteral("LookAndFeelPreferences"); }
    QIcon toolbarItemImage() const override;
    QString toolbarItemLabel() const override;
    ViewControllerBase& paneViewController() override { return *this; }

    // 0 the task bar, 1 the tray.
    quint64 applicationRunMode() const { return m_applicationRunMode; }
    void setApplicationRunMode(quint64 mode);
    bool isWarningActive() const { return m_warningActive; }
    QString warningMessage() const { return m_warningMessage; }

    void applicationRunModeDidChange();
    void itemsListTypeDidChange();
    void restartApplication();
    void showHelp();

protected:
    void awakeFromNib() override;

private:
    void updateControls();
    QComboBox* addComboBox(const QString& name, const QString& label, const QStringList& titles);

    DockAndStatusBarController& m_dock;
    std::function<void()> m_restart;
    quint64 m_applicationRunMode = 0;
    bool m_warningActive = false;
    QString m_warningMessage;

    QRadioButton* m_taskBarButton = nullptr;
    QRadioButton* m_trayButton = nullptr;
    QLabel* m_noTrayLabel = nullptr;
    QLabel* m_warningLabel = nullptr;
    QPushButton* m_restartButton = nullptr;
    QComboBox* m_listSizeBox = nullptr;
    QComboBox* m_verbosityBox = nullptr;
};
