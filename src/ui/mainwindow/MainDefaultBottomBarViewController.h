#pragma once
// The bar under the items outside runs and simulation: the errors of the last
// run, and the button that leads to the new items of the session's list.
#include "ui/mainwindow/ExecutionBottomBarViewControllerBase.h"

class QPushButton;

class MainDefaultBottomBarViewController : public ExecutionBottomBarViewControllerBase {
    Q_OBJECT
public:
    explicit MainDefaultBottomBarViewController(QWidget* parent = nullptr);

    bool isAtLeastOneSystemItemAvailable() const { return m_isAtLeastOneSystemItemAvailable; }
    void setIsAtLeastOneSystemItemAvailable(bool available);
    QString systemItemsButtonTitle() const { return m_systemItemsButtonTitle; }
    QPushButton* systemItemsButton() const { return m_systemItemsButton; }

Q_SIGNALS:
    void systemItemsRequested();

protected:
    void awakeFromNib() override;

private:
    void updateSystemItemsButtonTitle();

    bool m_isAtLeastOneSystemItemAvailable = false;
    QString m_systemItemsButtonTitle;
    QPushButton* m_systemItemsButton = nullptr;
};
