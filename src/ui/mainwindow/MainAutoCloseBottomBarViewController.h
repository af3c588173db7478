#pragma once
// The bar of the countdown to quitting after a run: its line, the errors of
// the run, and a button that cancels the quitting. Like the execute bar it
// follows the engine for its whole life.
#include "foundation/NotificationCenter.h"
#include "ui/mainwindow/ExecutionBottomBarViewControllerBase.h"

#include <vector>

class StatusLine;
class QPushButton;

class MainAutoCloseBottomBarViewController : public ExecutionBottomBarViewControllerBase {
    Q_OBJECT
public:
    explicit MainAutoCloseBottomBarViewController(QWidget* parent = nullptr);
    ~MainAutoCloseBottomBarViewController() override;

    QString infoMessage() const { return m_infoMessage; }
    StatusLine* infoLabel() const { return m_infoLabel; }
    QPushButton* cancelButton() const { return m_cancelButton; }

Q_SIGNALS:
    void cancelRequested();

protected:
    void awakeFromNib() override;

private:
    // On the main thread.
    void showMessageForNotification(const Notification& notification);
    void setInfoMessage(const QString& message);

    QString m_infoMessage;
    StatusLine* m_infoLabel = nullptr;
    QPushButton* m_cancelButton = nullptr;
    // Last: removed first, so that no handler outlives the bar.
    std::vector<NotificationCenter::Token> m_observers;
};
