#pragma once
// The inspector of one login item, shown in the items list's popover and in
// its detached window. From top to bottom: a header for the kind of item,
// the item's startup mode (file items only), and the conditions table (see
// StartupConditionsTableController), to which the condition calls below
// are handed on.
//
// The represented object is the login item (see RepresentedObject), or
// nothing. The inspector follows the item, including undo and redo and
// edits made elsewhere. Each edit it makes is one named undo step followed
// by a save with the last-change backup.
#include "model/MHKVONotificationHelper.h"
#include "model/ObjectID.h"
#include "ui/base/CommandResponder.h"
#include "ui/base/StaticPlaceholderContext.h"
#include "ui/base/ViewControllerBase.h"
#include "ui/inspector/StartupConditionsTableController.h"

#include <memory>

class ConditionalPreviousItemInfoViewController;
class DBFileItem;
class DBLoginItem;
class DelayItemInfoViewController;
class FileItemInfoViewController;
class ItemInfoViewControllerBase;
class QButtonGroup;
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

    bool isCreatingHotkeyConditionAllowed() const { return m_conditionsTableController->isCreatingHotkeyConditionAllowed(); }
    bool isCreatingPowerSourceConditionAllowed() const { return m_conditionsTableController->isCreatingPowerSourceConditionAllowed(); }
    const QList<StartupConditionViewControllerBase*>& conditionViewControllers() const
    {
        return m_conditionsTableController->conditionViewControllers();
    }
    StartupConditionViewControllerBase* conditionViewControllerForCondition(const DBStartupCondition* condition) const
    {
        return m_conditionsTableController->conditionViewControllerForCondition(condition);
    }
    ItemInfoViewControllerBase* currentInfoViewController() const;
    FileItemInfoViewController& fileItemInfoViewController();
    DelayItemInfoViewController& delayItemInfoViewController();
    WaitPreviousItemInfoViewController& waitPreviousItemInfoViewController();
    ConditionalPreviousItemInfoViewController& conditionalPreviousItemInfoViewController();

    QTableView* startupConditionsTableView() const { return m_conditionsTableController->tableView(); }
    StartupConditionRowsModel* startupConditionsModel() const { return m_conditionsTableController->rowsModel(); }
    QWidget* placeholderView() const { return m_placeholderView; }
    QWidget* itemStartupModeView() const { return m_itemStartupModeView; }
    QAction* actionForCommand(const QString& command) const { return m_conditionsTableController->actionForCommand(command); }

    // The condition commands, from the table's own buttons and, while the
    // inspector is active, from the menus.
    bool respondsToCommand(const QString& command) const override;
    bool validateCommand(const QString& command, QAction& item) override;
    void performCommand(const QString& command) override;

    void createScheduledStartupCondition() { m_conditionsTableController->createScheduledStartupCondition(); }
    void createHotkeyStartupCondition() { m_conditionsTableController->createHotkeyStartupCondition(); }
    void createPowerSourceStartupCondition() { m_conditionsTableController->createPowerSourceStartupCondition(); }
    void deleteCurrentSelection() { m_conditionsTableController->deleteCurrentSelection(); }

    void changeToLaunchSimulationMode(bool active) override;

    QList<DBStartupCondition*> selectedStartupConditions() const { return m_conditionsTableController->selectedStartupConditions(); }
    qsizetype insertionIndexForNewlyCreatedConditions() const
    {
        return m_conditionsTableController->insertionIndexForNewlyCreatedConditions();
    }
    void acceptDrop(const QList<ObjectID>& conditionIDs, int row) { m_conditionsTableController->acceptDrop(conditionIDs, row); }
    bool hasPendingConditionMove() const { return m_conditionsTableController->hasPendingConditionMove(); }

    QSize sizeHint() const override;

Q_SIGNALS:
    // A row editor's link to the settings it depends on.
    void showGeneralPreferencesRequested();

protected:
    void awakeFromNib() override;
    void representedObjectChangedFrom(const QVariant& previous, const QVariant& current) override;

private:
    void buildViews();
    void updateItemStartupModeControls();
    ItemInfoViewControllerBase* infoViewControllerForItem(const DBLoginItem& item);
    void forgetAllConditions();
    void save();
    DBFileItem* representedFileItem() const;

    // Declared before everything that shows them, so they go last.
    const std::unique_ptr<StartupConditionsTableController> m_conditionsTableController;
    std::unique_ptr<FileItemInfoViewController> m_fileItemInfoViewController;
    std::unique_ptr<DelayItemInfoViewController> m_delayItemInfoViewController;
    std::unique_ptr<WaitPreviousItemInfoViewController> m_waitPreviousItemInfoViewController;
    std::unique_ptr<ConditionalPreviousItemInfoViewController> m_conditionalPreviousItemInfoViewController;

    QWidget* m_placeholderView = nullptr;
    std::unique_ptr<StaticPlaceholderContext> m_placeholderContext;
    QWidget* m_itemStartupModeView = nullptr;
    QButtonGroup* m_startupModeButtons = nullptr;

    int m_viewHeight = 0;
    int m_representedItemStartupMode = 0;
    bool m_isStartupModeViewEnabled = false;

    std::unique_ptr<MHKVONotificationHelper> m_itemStartupModeObservation;
    QMetaObject::Connection m_resetObservation;
};
