#pragma once
// The items page of the main window: the application group's items in their
// order, and the commands that edit and run them. Every edit is one undo
// step with its name, followed by one save; an edit that changes nothing
// adds no step and does not save.
//
// Rows are reordered by dragging them or by Move Up and Move Down, items of the ignored list are taken
// in by drops, and files dropped from the file manager become file items
// (see LoginItemsListModel). The startup conditions of one item can be
// copied and pasted onto others, replacing or adding to theirs.
#include "foundation/NotificationCenter.h"
#include "ui/base/LoginItemsPageController.h"

#include <QHash>
#include <QList>
#include <QUrl>
#include <functional>
#include <memory>

class DBLoginGroup;
class DBLoginItem;
class ItemInspectorPopoverController;
class Localizator;
class MainBottomBarsController;
class ModelEditing;
class QModelIndex;

class MainItemsViewController : public LoginItemsPageController {
    Q_OBJECT
public:
    // What the enabling rules read, once per validation.
    struct ValidationState {
        bool executionInProgress = false;
        bool simulationActive = false;
        bool inspectorDetached = false;
        bool windowIsKey = false;
        int selectedCount = 0;
        bool fileItemSelected = false;
    };
    static bool isCommandEnabled(const QString& command, const ValidationState& state);

    // Asks the user for files to import; empty when cancelled.
    using OpenPanel = std::function<QList<QUrl>(QWidget* parent, const QString& title)>;

    explicit MainItemsViewController(QWidget* parent = nullptr);
    ~MainItemsViewController() override;

    void makeFirstResponder() override;
    void selectItems(const QList<DBLoginItem*>& items);
    // After the last selected item, else at the end.
    qsizetype insertionIndexForNewlyCreatedItems() const;
    bool isAtLeastOneFileItemSelected() const;

    bool isAtLeastOneSystemItemAvailable() const { return m_atLeastOneSystemItemAvailable; }
    void setIsAtLeastOneSystemItemAvailable(bool available);
    void setOpenPanel(OpenPanel panel) { m_openPanel = std::move(panel); }

    // The rows follow the modifier keys and the networks in range.
    void updateContentAccordingToModifierKeysState();
    void updateContentAccordingToNetworkState();

    // The bars under the list, following runs and the simulation.
    MainBottomBarsController* bottomBars() const { return m_bottomBars.get(); }
    ItemInspectorPopoverController* itemInspectors() const { return m_inspectors; }
    void changeToLaunchSimulationMode(bool active) override;
    // Opens the inspector of the row's item beside rect, in the list's viewport.
    void showLoginItemInspector(const QModelIndex& index, const QRect& rect);

    // The commands.
    void createNewFileItem();
    void createNewDelayItem();
    void createNewWaitPreviousItem();
    void createNewConditionalPreviousItem();
    void moveCurrentSelectionToSystemPreferences();
    void moveCurrentSelectionToIgnoredItems();
    void deleteCurrentSelection();
    void changeStartupModeToShown();
    void changeStartupModeToHidden();
    void changeStartupModeToDisabled();
    void unselectApplicationItems();
    void cancelLoginItemsExecution();
    void cancelAutoClose();
    void launchSelectedItems();
    void copy();
    void paste();
    void pasteAndAppendStartupConditions();
    void moveSelectedItemsUp() { moveSelectedItems(true); }
    void moveSelectedItemsDown() { moveSelectedItems(false); }

    bool respondsToCommand(const QString& command) const override;
    bool validateCommand(const QString& command, QAction& item) override;
    void performCommand(const QString& command) override;

Q_SIGNALS:
    // The default bar's button for the new items of the session's list.
    void systemItemsViewRequested();
    // An inspector's link to the General preferences.
    void showGeneralPreferencesRequested();

protected:
    void awakeFromNib() override;

private:
    using Command = void (MainItemsViewController::*)();
    static const QHash<QString, Command>& commands();

    ValidationState validationState() const;
    // One undoable edit (performUndoableEdit), after which the rows are
    // brought up to date at once.
    void performEdit(const std::function<QString()>& edit);
    // Creates items of one kind at the insertion index, selects them and
    // shows the first.
    void createItems(const QVariantList& data,
                     QList<DBLoginItem*> (ModelEditing::*create)(const QVariantList&, DBLoginGroup*, qsizetype),
                     QString (Localizator::*actionName)(const QList<DBLoginItem*>&) const);
    void performChangeItemStartupModeTo(int mode);
    // Replaces the conditions of the selected items with those on the
    // clipboard, or adds them.
    void performPasteAndAppend(bool append);
    // The simulation, if any, takes in the new order of the items.
    void itemsDropped();
    void itemDoubleClicked(const QModelIndex& index);
    void setUpBottomBars(QWidget* placeholder);
    // The rows take the status display and the snapshot the bars say.
    void showRowParameters();
    void itemsListsSizeDidChange();

    // Goes before the page's widgets, which hold its bars.
    std::unique_ptr<MainBottomBarsController> m_bottomBars;
    ItemInspectorPopoverController* m_inspectors = nullptr;
    OpenPanel m_openPanel;
    bool m_atLeastOneSystemItemAvailable = false;
    // Last: removed first, so that no handler outlives the page.
    NotificationCenter::Token m_itemsListsSizeObserver;
};
