#pragma once
// The inspector of one login item, shown in the items list's popover and in
// its detached window. From top to bottom: a header for the kind of item,
// the item's startup mode (file items only), and a table with one row
// editor for every startup condition of the database, in condition order,
// whose check box says whether the shown item uses that condition.
//
// The represented object is the login item (see RepresentedObject), or
// nothing. The inspector follows the item and the conditions, including
// undo and redo and edits made elsewhere. Each edit it makes is one named
// undo step followed by a save with the last-change backup.
#include "model/MHKVONotificationHelper.h"
#include "model/ObjectID.h"
#include "ui/base/CommandResponder.h"
#include "ui/base/StaticPlaceholderContext.h"
#include "ui/base/ViewControllerBase.h"

#include <QHash>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <map>

class ConditionalPreviousItemInfoViewController;
class DBFileItem;
class DBLoginItem;
class DBStartupCondition;
class DelayItemInfoViewController;
class FileItemInfoViewController;
class ItemInfoViewControllerBase;
class QAction;
class QButtonGroup;
class QTableView;
class StartupConditionRowsModel;
class StartupConditionViewControllerBase;
class StartupConditionViewControllersFactory;
class WaitPreviousItemInfoViewController;

class ItemInspectorViewController : public ViewControllerBase, public CommandResponder {
    Q_OBJECT
public:
    ItemInspectorViewController();
    ~ItemInspectorViewController() override;

    // The shown item while it is live.
    DBLoginItem* representedItem() const;

    // The mode the mode control shows; setting it writes a file item's mode.
    int representedItemStartupMode() const { return m_representedItemStartupMode; }
    void setRepresentedItemStartupMode(int mode);
    bool isStartupModeViewEnabled() const { return m_isStartupModeViewEnabled; }
    bool isCreatingHotkeyConditionAllowed() const { return m_isCreatingHotkeyConditionAllowed; }
    bool isCreatingPowerSourceConditionAllowed() const { return m_isCreatingPowerSourceConditionAllowed; }

    // The row editors in row order.
    const QList<StartupConditionViewControllerBase*>& conditionViewControllers() const { return m_conditionViewControllers; }
    StartupConditionViewControllerBase* conditionViewControllerForCondition(const DBStartupCondition* condition) const;
    ItemInfoViewControllerBase* currentInfoViewController() const;
    FileItemInfoViewController& fileItemInfoViewController();
    DelayItemInfoViewController& delayItemInfoViewController();
    WaitPreviousItemInfoViewController& waitPreviousItemInfoViewController();
    ConditionalPreviousItemInfoViewController& conditionalPreviousItemInfoViewController();

    QTableView* startupConditionsTableView() const { return m_startupConditionsTableView; }
    StartupConditionRowsModel* startupConditionsModel() const { return m_rowsModel; }
    QWidget* placeholderView() const { return m_placeholderView; }
    QWidget* itemStartupModeView() const { return m_itemStartupModeView; }
    // The button or menu action of a command.
    QAction* actionForCommand(const QString& command) const;

    // The commands of CommandNames for the inspector, from its own buttons
    // and, while it is active, from the menus. Validation may retitle the
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

    QSize sizeHint() const override;

Q_SIGNALS:
    // A row editor's link to the settings it depends on.
    void showGeneralPreferencesRequested();

protected:
    void awakeFromNib() override;
    void representedObjectChangedFrom(const QVariant& previous, const QVariant& current) override;

private:
    struct PendingMove {
        QList<ObjectID> conditionIDs;
        // The condition the moved ones go before; none for the end.
        std::optional<ObjectID> before;
    };

    void buildViews();
    void updateStartupConditionViewControllers();
    void updateConditionAllowedStatuses();
    void updateUsageStatusForAllStartupConditionViewControllers();
    void updateUsageStatusForStartupConditionViewController(StartupConditionViewControllerBase& editor);
    void startObservingStartupConditionViewController(StartupConditionViewControllerBase& editor);
    void stopObservingStartupConditionViewController(StartupConditionViewControllerBase& editor);
    void conditionUsageDidChange(StartupConditionViewControllerBase& editor, bool used);
    void noteStartupConditionsTableViewRowHeightsChanged();
    void updateItemStartupModeControls();
    ItemInfoViewControllerBase* infoViewControllerForItem(const DBLoginItem& item);
    void createStartupConditionWithBlock(const std::function<DBStartupCondition*(qsizetype index)>& block);
    void reloadTable(const QList<DBStartupCondition*>& selection);
    // Selected rows draw their labels for the highlight.
    void updateCellBackgroundStyles();
    void selectConditions(const QList<DBStartupCondition*>& conditions);
    void validateActions();
    void runPendingMove();
    void forgetAllConditions();
    void save();
    DBFileItem* representedFileItem() const;

    // Declared before everything that shows them, so they go last.
    std::map<const DBStartupCondition*, std::unique_ptr<StartupConditionViewControllerBase>> m_conditionViewControllersByConditions;
    QList<StartupConditionViewControllerBase*> m_conditionViewControllers;
    QHash<StartupConditionViewControllerBase*, QList<QMetaObject::Connection>> m_editorObservations;
    std::unique_ptr<StartupConditionViewControllersFactory> m_conditionViewControllersFactory;
    std::unique_ptr<FileItemInfoViewController> m_fileItemInfoViewController;
    std::unique_ptr<DelayItemInfoViewController> m_delayItemInfoViewController;
    std::unique_ptr<WaitPreviousItemInfoViewController> m_waitPreviousItemInfoViewController;
    std::unique_ptr<ConditionalPreviousItemInfoViewController> m_conditionalPreviousItemInfoViewController;

    QWidget* m_placeholderView = nullptr;
    std::unique_ptr<StaticPlaceholderContext> m_placeholderContext;
    QWidget* m_itemStartupModeView = nullptr;
    QButtonGroup* m_startupModeButtons = nullptr;
    QTableView* m_startupConditionsTableView = nullptr;
    StartupConditionRowsModel* m_rowsModel = nullptr;
    // Holds the row editors while their cells are rebuilt.
    QWidget* m_editorsShelf = nullptr;
    QHash<QString, QAction*> m_actions;

    int m_viewHeight = 0;
    int m_representedItemStartupMode = 0;
    bool m_isStartupModeViewEnabled = false;
    bool m_isCreatingHotkeyConditionAllowed = true;
    bool m_isCreatingPowerSourceConditionAllowed = true;

    std::unique_ptr<MHKVONotificationHelper> m_itemConditionsObservation;
    std::unique_ptr<MHKVONotificationHelper> m_itemStartupModeObservation;
    QMetaObject::Connection m_conditionsObservation;
    QMetaObject::Connection m_resetObservation;
    QTimer m_rowHeightsTimer;
    QTimer m_pendingMoveTimer;
    PendingMove m_pendingMove;
};
