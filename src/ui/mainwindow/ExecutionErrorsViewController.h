#pragma once
// The list of the items that failed in the last run, shown in a popover of
// the default and auto-close bars; a click on a row's folder shows the item
// in the file manager.
#include "ui/base/ViewControllerBase.h"
#include "ui/mainwindow/ExecutionErrorsModel.h"

#include <functional>

struct Notification;
class QTableView;

class ExecutionErrorsViewController : public ViewControllerBase {
    Q_OBJECT
public:
    // Shows the file at the path in the file manager; false when it cannot.
    // The file manager of the session unless replaced.
    using Revealer = std::function<bool(const QString& path)>;

    explicit ExecutionErrorsViewController(QWidget* parent = nullptr);

    ExecutionErrorsModel* executionErrors() const { return m_executionErrors; }
    QTableView* errorsTableView() const { return m_errorsTableView; }
    void setRevealer(Revealer revealer) { m_revealer = std::move(revealer); }

    // From the user info of an item-failed notification; the icon and path
    // come from the item, when the object context still has it.
    void addExecutionErrorFromNotification(const Notification& notification);
    void resetExecutionErrors();
    // False for a row out of range or a record without a path.
    bool selectItemInFinder(int row);

protected:
    void awakeFromNib() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitNameColumn();
    ExecutionErrorRecord errorDataFromUserInfo(const QVariantMap& userInfo) const;

    ExecutionErrorsModel* m_executionErrors = nullptr;
    QTableView* m_errorsTableView = nullptr;
    Revealer m_revealer;
};
