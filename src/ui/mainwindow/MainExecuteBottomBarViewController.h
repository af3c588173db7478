#pragma once
// The bar of a countdown and a run: one line that follows the engine's
// notifications, and a button that cancels. It follows the engine for its
// whole life, so the line is current whenever the bar slides in.
#include "foundation/NotificationCenter.h"
#include "ui/base/ViewControllerBase.h"

#include <vector>

class StatusLine;
class QPushButton;

class MainExecuteBottomBarViewController : public ViewControllerBase {
    Q_OBJECT
public:
    explicit MainExecuteBottomBarViewController(QWidget* parent = nullptr);
    ~MainExecuteBottomBarViewController() override;

    // A bar that slides in leaves the keyboard focus where it is.
    void makeFirstResponder() override {}

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
