#pragma once
// The inspector's conditions table: one row editor for every startup
// condition of the database, in condition order, whose check box says
// whether the shown item uses that condition, and the buttons that add,
// delete and unselect conditions below it. Rows are reordered by drag or by
// Alt+Up and Alt+Down; the row commands themselves are StartupConditionRowCommands.
//
// The inspector lays the table and the buttons out among its own views and
// hands on its common objects, its login item (see RepresentedObject) and
// the launch simulation flag. The table follows the conditions, including
// undo and redo and edits made elsewhere. Each edit it makes is one named
// undo step followed by a save with the last-change backup.
#include "model/MHKVONotificationHelper.h"
#include "model/ObjectID.h"
#include "texts/LanternwickObject.h"
#include "ui/base/CommandResponder.h"
#include "ui/base/CommonObjectsHolder.h"

#include <QHash>
#include <QObject>
#include <QTimer>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class DBLoginItem;
class DBStartupCondition;
class QAction;
class QTableView;
class StartupConditionRowCommands;
class StartupConditionRowsModel;
class StartupConditionViewControllerBase;
class StartupConditionViewControllersFactory;

class StartupConditionsTableController : public QObject, public LanternwickObject, public CommonObjectsHolder, public CommandResponder {
    Q_OBJECT
public:
    StartupConditionsTableController();
    ~StartupConditionsTableController() override;

    // Makes the table and the buttons as children of parent, once the
    // common objects are known.
    void loadViews(QWidget& parent);
    // The item whose use of the conditions the rows' check boxes show.
    void setRepresentedObject(const QVariant& item);

    bool isCreatingHotkeyConditionAllowed() const { return m_isCreatingHotkeyConditionAllowed; }
    bool isCreatingPowerSourceConditionAllowed() const { return m_isCreatingPowerSourceConditionAllowed; }

    // The row editors in row order.
    const QList<StartupConditionViewControllerBase*>& conditionViewControllers() const { return m_conditionViewControllers; }
    StartupConditionViewControllerBase* conditionViewControllerForCondition(const DBStartupCondition* condition) const;

    QTableView* tableView() const { return m_tableView; }
    QWidget* actionsView() const { return m_actionsView; }
    StartupConditionRowsModel* rowsModel() const { return m_rowsModel; }
    // The button or menu action of a command.
    QAction* actionForCommand(const QString& command) const;

    // The condition commands of CommandNames. Validation may retitle the
    // delete item.
    bool respondsToCommand(const QString& command) const override;
    bool validateCommand(const QString& command, QAction& item) override;
    void performCommand(const QString& command) override;

    void createScheduledStartupCondition();
    void createHotkeyStartupCondition();
    void createPowerSourceStartupCondition();
    void createMountedVolumeStartupCondition();
    void createNetworkStartupCondition();
    void deleteCurrentSelection();
    void unselectStartupConditions();

    void changeToLaunchSimulationMode(bool active) override;

    // The conditions of the selected rows, in row order.
    QList<DBStartupCondition*> selectedStartupConditions() const;
    // After the last selected condition, else at the end.
    qsizetype insertionIndexForNewlyCreatedConditions() const;

    // A drop of the conditions' rows above row (0..row count). The rows move
    // at once; the database follows after a short delay.
    void acceptDrop(const QList<ObjectID>& conditionIDs, int row);
    bool hasPendingConditionMove() const { return m_pendingMoveTimer.isActive(); }

    // Lets go of every row editor before the database resets.
    void forgetAllConditions();

protected:
    // Typed in the table: Delete deletes the selected conditions, or nothing;
    // F2 and Return rename the selected one; Alt+Up and Alt+Down move them;
    // Space checks or clears the current row's box. Typed inside a row, the
    // same keys act on that row, which joins the selection first; Return on
    // its check box renames and never toggles the box.
    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    // A row editor's link to the settings it depends on.
    void showGeneralPreferencesRequested();

private:
    struct PendingMove {
        QList<ObjectID> conditionIDs;
        // The condition the moved ones go before; none for the end.
        std::optional<ObjectID> before;
    };

    void buildViews(QWidget& parent);
    DBLoginItem* representedItem() const;
    void updateStartupConditionViewControllers();
    void updateConditionAllowedStatuses();
    void updateUsageStatusForAllStartupConditionViewControllers();
    void updateUsageStatusForStartupConditionViewController(StartupConditionViewControllerBase& editor);
    void startObservingStartupConditionViewController(StartupConditionViewControllerBase& editor);
    void stopObservingStartupConditionViewController(StartupConditionViewControllerBase& editor);
    void conditionUsageDidChange(StartupConditionViewControllerBase& editor, bool used);
    void noteStartupConditionsTableViewRowHeightsChanged();
    void createStartupConditionWithBlock(const std::function<DBStartupCondition*(qsizetype index)>& block);
    void reloadTable(const QList<DBStartupCondition*>& selection);
    // Selected rows draw their labels for the highlight.
    void updateCellBackgroundStyles();
    void validateActions();
    void runPendingMove();
    // The row editor object is inside, if any.
    StartupConditionViewControllerBase* rowEditorContaining(const QObject* object) const;
    bool isInRowEditorControl(const QWidget* widget) const;
    void save();

    // Declared before everything that shows them, so they go last.
    std::map<const DBStartupCondition*, std::unique_ptr<StartupConditionViewControllerBase>> m_conditionViewControllersByConditions;
    QList<StartupConditionViewControllerBase*> m_conditionViewControllers;
    QHash<StartupConditionViewControllerBase*, QList<QMetaObject::Connection>> m_editorObservations;
    std::unique_ptr<StartupConditionViewControllersFactory> m_conditionViewControllersFactory;

    QVariant m_representedObject;
    // Set around the table's own writes to the item, so that its observer skips them.
    bool m_updatingModelFromView = false;
    QTableView* m_tableView = nullptr;
    StartupConditionRowsModel* m_rowsModel = nullptr;
    StartupConditionRowCommands* m_rowCommands = nullptr;
    // Holds the row editors while their cells are rebuilt.
    QWidget* m_editorsShelf = nullptr;
    QWidget* m_actionsView = nullptr;
    QHash<QString, QAction*> m_actions;

    bool m_isCreatingHotkeyConditionAllowed = true;
    bool m_isCreatingPowerSourceConditionAllowed = true;

    std::unique_ptr<MHKVONotificationHelper> m_itemConditionsObservation;
    QMetaObject::Connection m_conditionsObservation;
    QTimer m_rowHeightsTimer;
    QTimer m_pendingMoveTimer;
    PendingMove m_pendingMove;
};
