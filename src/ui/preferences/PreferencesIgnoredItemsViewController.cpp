#include "ui/preferences/PreferencesIgnoredItemsViewController.h"

#include "foundation/Log.h"
#include "foundation/MHInternalNotifications.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/ObjectContext.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "texts/Localizator.h"
#include "ui/base/CommandNames.h"
#include "ui/base/FileItems.h"
#include "ui/base/LoginItemsListModel.h"
#include "ui/icons/IconsManager.h"
#include "ui/views/HelpButton.h"
#include "ui/views/LoginItemDelegate.h"
#include "ui/views/LoginItemsListView.h"

#include <QAction>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

using Text = Localizator::WindowText;

PreferencesIgnoredItemsViewController::PreferencesIgnoredItemsViewController(QWidget* parent)
    : LoginItemsPageController(true, parent)
{
    LOG_DEBUG("Initializing...");
    setObjectName(QStringLiteral("IgnoredItemsPreferences"));
}

PreferencesIgnoredItemsViewController::~PreferencesIgnoredItemsViewController() = default;

QIcon PreferencesIgnoredItemsViewController::toolbarItemImage() const
{
    constexpr char16_t eyeSlash = 0xf070;
    return IconsManager::sharedInstance().icon(eyeSlash).toolbarIcon().colored(palette().color(QPalette::WindowText)).image();
}

QString PreferencesIgnoredItemsViewController::toolbarItemLabel() const
{
    return localizator().windowText(Text::IgnoredItemsToolbarLabel);
}

void PreferencesIgnoredItemsViewController::awakeFromNib()
{
    LOG_DEBUG("Awaking from nib...");
    const Localizator& texts = localizator();
    m_model = new LoginItemsListModel(*managedObjectContext(), representedGroup(), this);
    m_model->setLocalizator(&localizator());
    m_itemsTableView = new LoginItemsListView(this);
    m_itemsTableView->setObjectName(QStringLiteral("itemsTableView"));
    m_itemsTableView->setAccessibleName(texts.ignoreLoginGroupDisplayName());
    m_itemsTableView->setModel(m_model);
    m_itemsTableView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_itemsTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows of files and of the other kinds differ in height; the delegate paints the stripes.
    m_itemsTableView->setUniformItemSizes(false);
    m_itemDelegate = new LoginItemDelegate([this](const QModelIndex& index) { return itemAtIndex(index.row()); },
                                           m_model->runStates(), &userDefaults(), m_itemsTableView);
    m_itemDelegate->setActionButtonHidden(true);
    m_itemsTableView->setItemDelegate(m_itemDelegate);
    m_model->enableDragAndDrop(*this);
    m_itemsTableView->setContextMenuPolicy(Qt::ActionsContextMenu);
    setFocusProxy(m_itemsTableView);

    QPushButton* moveBack = addCommand(CommandNames::moveIgnoredItemsToApplicationItemsList,
                                       texts.windowText(Text::IgnoredItemsMoveToApplicationItems));
    QPushButton* copy = addCommand(CommandNames::moveCurrentSelectionToSystemPreferences,
                                   texts.windowText(Text::IgnoredItemsCopyToStartupApplications));
    QPushButton* remove = addCommand(CommandNames::deleteCurrentSelection, texts.windowText(Text::IgnoredItemsDelete));
    addCommandAction(CommandNames::deleteCurrentSelection, QKeySequence::Delete);
    addCommandAction(CommandNames::moveSelectedItemsUp, moveShortcut(true))->setText(texts.windowText(Text::MoveUpMenuItem));
    addCommandAction(CommandNames::moveSelectedItemsDown, moveShortcut(false))->setText(texts.windowText(Text::MoveDownMenuItem));
    auto* help = new HelpButton(texts.windowText(Text::IgnoredItemsHelp), this);
    connect(help, &QToolButton::clicked, this, &PreferencesIgnoredItemsViewController::showHelp);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(moveBack);
    buttons->addWidget(copy);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_itemsTableView, 1);
    layout->addLayout(buttons);

    // The titles name the selected items, and the rows go with undo and with
    // edits made elsewhere.
    connect(m_itemsTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PreferencesIgnoredItemsViewController::validateCommands);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &PreferencesIgnoredItemsViewController::validateCommands);
    connect(m_model, &QAbstractItemModel::rowsMoved, this, &PreferencesIgnoredItemsViewController::validateCommands);
    connect(m_model, &QAbstractItemModel::modelReset, this, &PreferencesIgnoredItemsViewController::validateCommands);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &PreferencesIgnoredItemsViewController::validateCommands);
    validateCommands();

    m_itemsListsSizeObserver = notificationCenter().addObserver(
        MHInternalNotifications::MHInternalNotificationItemsListsSizeDidChange, nullptr, [this](const Notification&) {
            QMetaObject::invokeMethod(this, [this] { itemsListsSizeDidChange(); }, Qt::QueuedConnection);
        });
}

QAction* PreferencesIgnoredItemsViewController::addCommandAction(const QString& command, const QKeySequence& shortcut)
{
    QAction* action = m_actions.value(command);
    if (!action) {
        action = new QAction(this);
        action->setObjectName(command + QStringLiteral("Action"));
        action->setData(command);
        connect(action, &QAction::triggered, this, [this, command, action] {
            if (validateCommand(command, *action))
                performCommand(command);
        });
        m_itemsTableView->addAction(action);
        m_actions.insert(command, action);
    }
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WidgetShortcut);
    return action;
}

QPushButton* PreferencesIgnoredItemsViewController::addCommand(const QString& command, const QString& buttonTitle)
{
    QAction* action = addCommandAction(command);
    auto* button = new QPushButton(buttonTitle, this);
    button->setObjectName(command + QStringLiteral("Button"));
    button->setAccessibleName(buttonTitle);
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
    return button;
}

void PreferencesIgnoredItemsViewController::representedObjectChangedFrom(const QVariant&, const QVariant&)
{
    if (m_model)
        m_model->setGroup(representedGroup());
}

void PreferencesIgnoredItemsViewController::itemsListsSizeDidChange()
{
    LOG_DEBUG("Items lists size did change, updating content...");
    m_itemsTableView->doItemsLayout();
}

void PreferencesIgnoredItemsViewController::showHelp()
{
    LOG_NORMAL("Showing help for ignored items preferences...");
    helpers()->openHelpAnchor(QStringLiteral("preference-ignored-items"));
}

// --- Editing -----------------------------------------------------------------------

void PreferencesIgnoredItemsViewController::performEdit(const std::function<QString()>& edit)
{
    performUndoableEdit(edit);
    m_model->refresh();
}

void PreferencesIgnoredItemsViewController::moveIgnoredItemsToApplicationItemsList()
{
    LOG_NORMAL("Moving selected ignored items to application items list...");
    const QList<DBLoginItem*> selection = selectedItems();
    LOG_DEBUG("%1 items will be moved to application items list...", selection.size());
    performEdit([&] {
        // Only file items change group; the others stay ignored.
        const QList<DBFileItem*> files = fileItemsOf(selection);
        if (files.isEmpty())
            return QString();
        ObjectContext& context = *managedObjectContext();
        DBLoginGroup* application = context.getOrCreateApplicationLoginGroup();
        editing()->moveLoginItems(selection, representedGroup(), application, context.sortedLoginItemsForGroup(application).size());
        QList<DBLoginItem*> moved;
        for (DBFileItem* item : files)
            if (item->itemLoginGroup() == application)
                moved.append(item);
        return moved.isEmpty() ? QString() : localizator().undoActionForMovingIgnoreItemsToApplicationGroup(moved);
    });
}

void PreferencesIgnoredItemsViewController::moveCurrentSelectionToSystemPreferences()
{
    LOG_NORMAL("Copying currently selected items to System Preferences...");
    const QList<DBLoginItem*> selection = selectedItems();
    LOG_VERBOSE("%1 items will be copied to system preferences...", selection.size());
    // The other kinds have no entry in the session's list to make.
    const QList<DBFileItem*> files = fileItemsOf(selection);
    LOG_VERBOSE("Copying %1 items to system preferences...", files.size());
    createSystemItemsFromFileItems(helpers()->applicationContext(), files);
}

void PreferencesIgnoredItemsViewController::deleteCurrentSelection()
{
    LOG_NORMAL("Deleting currently selected items...");
    const QList<DBLoginItem*> selection = selectedItems();
    LOG_DEBUG("%1 items will be deleted...", selection.size());
    performEdit([&] {
        if (selection.isEmpty())
            return QString();
        editing()->deleteLoginItems(selection, representedGroup());
        QList<DBLoginItem*> deleted;
        for (DBLoginItem* item : selection)
            if (item->isDeleted())
                deleted.append(item);
        return deleted.isEmpty() ? QString() : localizator().undoActionForDeletingIgnoredItems(deleted);
    });
}

// --- Commands ----------------------------------------------------------------------

const QHash<QString, PreferencesIgnoredItemsViewController::Command>& PreferencesIgnoredItemsViewController::commands()
{
    using C = PreferencesIgnoredItemsViewController;
    static const QHash<QString, Command> table {
        { CommandNames::moveIgnoredItemsToApplicationItemsList, &C::moveIgnoredItemsToApplicationItemsList },
        { CommandNames::moveCurrentSelectionToSystemPreferences, &C::moveCurrentSelectionToSystemPreferences },
        { CommandNames::deleteCurrentSelection, &C::deleteCurrentSelection },
        { CommandNames::moveSelectedItemsUp, &C::moveSelectedItemsUp },
        { CommandNames::moveSelectedItemsDown, &C::moveSelectedItemsDown },
    };
    return table;
}

bool PreferencesIgnoredItemsViewController::respondsToCommand(const QString& command) const
{
    return commands().contains(command);
}

bool PreferencesIgnoredItemsViewController::validateCommand(const QString& command, QAction& item)
{
    const QList<DBLoginItem*> selection = selectedItems();
    const Localizator& texts = localizator();
    if (command == CommandNames::moveIgnoredItemsToApplicationItemsList)
        setMenuItemTitle(item, texts.menuItemTitleForMovingIgnoredItemsToApplicationGroup(selection));
    else if (command == CommandNames::moveCurrentSelectionToSystemPreferences)
        setMenuItemTitle(item, texts.menuItemTitleForMovingIgnoredItemsToSystemPreferences(selection));
    else if (command == CommandNames::deleteCurrentSelection)
        setMenuItemTitle(item, texts.menuItemTitleForDeletingIgnoredItems(selection));
    else if (command == CommandNames::moveSelectedItemsUp || command == CommandNames::moveSelectedItemsDown)
        return canMoveSelectedItems(command == CommandNames::moveSelectedItemsUp);
    else
        return true;
    // Moving back and copying to the session's list act on file items only.
    if (command != CommandNames::deleteCurrentSelection)
        return !fileItemsOf(selection).isEmpty();
    return !selection.isEmpty();
}

void PreferencesIgnoredItemsViewController::performCommand(const QString& command)
{
    if (const Command perform = commands().value(command))
        (this->*perform)();
}

void PreferencesIgnoredItemsViewController::validateCommands()
{
    for (auto entry = m_actions.cbegin(); entry != m_actions.cend(); ++entry)
        entry.value()->setEnabled(validateCommand(entry.key(), *entry.value()));
}
