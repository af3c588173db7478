#include "ui/mainwindow/MainSystemViewController.h"

#include "engine/ApplicationContext.h"
#include "engine/DeleteSystemItemsApplicationState.h"
#include "engine/StateChain.h"
#include "foundation/Log.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/MHSystemItemsNotifications.h"
#include "foundation/UserDefaults.h"
#include "model/DBFileItem.h"
#include "model/DBLoginGroup.h"
#include "model/ObjectContext.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "texts/Localizator.h"
#include "ui/base/CommandNames.h"
#include "ui/base/FileItems.h"
#include "ui/base/PopoverFrame.h"
#include "ui/base/VisualFormatMargins.h"
#include "ui/mainwindow/SystemItemInspectorViewController.h"
#include "ui/mainwindow/SystemItemsListModel.h"
#include "ui/views/BackgroundColorView.h"
#include "ui/views/SystemItemDelegate.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kCautionHeight = 6;
constexpr int kDashPeriod = 16;

// Diagonal dashes at 0.7 opacity on a transparent ground, one period of the
// pattern in each direction, so that the tiles meet without a seam.
QPixmap cautionDashes()
{
    QPixmap tile(kDashPeriod, kDashPeriod);
    tile.fill(Qt::transparent);
    QPainter painter(&tile);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(0.7);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xE0, 0xA0, 0x10));
    const double half = kDashPeriod / 2.0;
    for (const double left : { -double(kDashPeriod), 0.0 }) {
        const QPointF band[] { { left, double(kDashPeriod) }, { left + half, double(kDashPeriod) },
                               { left + kDashPeriod + half, 0 }, { left + kDashPeriod, 0 } };
        painter.drawPolygon(band, 4);
    }
    return tile;
}

QPushButton* makeCommandButton(QWidget* parent, const QString& command, const QString& title)
{
    auto* button = new QPushButton(title, parent);
    button->setObjectName(command + QStringLiteral("Button"));
    button->setAccessibleName(title);
    return button;
}

} // namespace

MainSystemViewController::MainSystemViewController(QWidget* parent)
    : ViewControllerBase(true, parent)
    , m_messageBoxes([this] { return window(); })
{
    LOG_DEBUG("Initializing...");
    setObjectName(QStringLiteral("mainSystemView"));
}

MainSystemViewController::~MainSystemViewController()
{
    LOG_DEBUG("Deallocating...");
}

void MainSystemViewController::awakeFromNib()
{
    LOG_DEBUG("Awaking from nib...");

    m_model = new SystemItemsListModel(this);
    m_itemsTableView = new QListView(this);
    m_itemsTableView->setObjectName(QStringLiteral("systemItemsTableView"));
    m_itemsTableView->setAccessibleName(localizator().windowText(Localizator::WindowText::SystemItems));
    m_itemsTableView->setModel(m_model);
    m_itemsTableView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_itemsTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_itemsTableView->setFrameShape(QFrame::NoFrame);
    // Rows elide to the list's width, so their buttons are never behind a horizontal scroll.
    m_itemsTableView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_itemsTableView->setResizeMode(QListView::Adjust);
    m_itemDelegate = new SystemItemDelegate(&userDefaults(), m_itemsTableView);
    m_itemsTableView->setItemDelegate(m_itemDelegate);
    connect(m_itemDelegate, &SystemItemDelegate::actionButtonClicked, this, &MainSystemViewController::showLoginItemInspector);
    m_itemDelegate->reportActionKeys(m_itemsTableView);
    setFocusProxy(m_itemsTableView);

    m_topCautionView = makeCautionView(QStringLiteral("topCautionView"));
    m_bottomCautionView = makeCautionView(QStringLiteral("bottomCautionView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(mainWindowPageMargins(userDefaults()));
    layout->setSpacing(0);
    layout->addWidget(makeHeaderView());
    layout->addWidget(m_topCautionView);
    layout->addWidget(m_itemsTableView, 1);
    layout->addWidget(m_bottomCautionView);
    layout->addWidget(makeActionsView());

    connect(m_itemsTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this, &MainSystemViewController::validateButtons);
    connect(m_model, &QAbstractItemModel::modelReset, this, &MainSystemViewController::validateButtons);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &MainSystemViewController::validateButtons);
    m_itemsListsSizeObserver = notificationCenter().addObserver(
        MHInternalNotifications::MHInternalNotificationItemsListsSizeDidChange, nullptr, [this](const Notification&) {
            QMetaObject::invokeMethod(this, [this] { itemsListsSizeDidChange(); }, Qt::QueuedConnection);
        });
    // The records that came before the view.
    representedObjectChangedFrom({}, representedObject());
}

QWidget* MainSystemViewController::makeHeaderView()
{
    m_headerView = new BackgroundColorView(this);
    m_headerView->setObjectName(QStringLiteral("headerView"));
    m_headerView->setBackgroundColor(palette().color(QPalette::AlternateBase));
    auto* title = new QLabel(localizator().windowText(Localizator::WindowText::SystemItemsHeaderTitle), m_headerView);
    title->setObjectName(QStringLiteral("headerTitleView"));
    title->setTextFormat(Qt::PlainText);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* text = new QLabel(localizator().windowText(Localizator::WindowText::SystemItemsHeaderText), m_headerView);
    text->setObjectName(QStringLiteral("headerTextView"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    m_readErrorView = new QLabel(m_headerView);
    m_readErrorView->setObjectName(QStringLiteral("readErrorView"));
    m_readErrorView->setTextFormat(Qt::PlainText);
    m_readErrorView->setWordWrap(true);
    // The path in it is what the user copies to mend it.
    m_readErrorView->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_headerView->setAccessibleName(title->text());
    auto* layout = new QVBoxLayout(m_headerView);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(4);
    layout->addWidget(title);
    layout->addWidget(text);
    layout->addWidget(m_readErrorView);
    updateReadErrorView();
    return m_headerView;
}

BackgroundColorView* MainSystemViewController::makeCautionView(const QString& name)
{
    auto* view = new BackgroundColorView(this);
    view->setObjectName(name);
    view->setFixedHeight(kCautionHeight);
    view->setBackgroundColor(palette().color(QPalette::Window));
    view->setDrawBlock([dashes = QBrush(cautionDashes())](BackgroundColorView&, QPainter& painter, const QRect& dirtyRect) {
        painter.fillRect(dirtyRect, dashes);
    });
    return view;
}

QWidget* MainSystemViewController::makeActionsView()
{
    auto* actionsView = new QWidget(this);
    actionsView->setObjectName(QStringLiteral("systemItemsActionsView"));
    auto* layout = new QHBoxLayout(actionsView);
    layout->setContentsMargins(8, 6, 8, 6);
    using Text = Localizator::WindowText;
    const struct {
        QString command;
        QString title;
    } buttons[] { { CommandNames::deleteCurrentSelection, localizator().menuItemTitleForDeletingSystemItems({}) },
                  { CommandNames::markSelectedItemsAsIgnored, localizator().windowText(Text::MarkAsIgnoredMenuItem) },
                  { CommandNames::moveSelectedItemsToLanternwick, localizator().windowText(Text::MoveToLanternwickMenuItem) } };
    for (const auto& entry : buttons) {
        const QString command = entry.command;
        QPushButton* button = makeCommandButton(actionsView, command, entry.title);
        // The action is validated like a menu item; the button keeps its short title.
        auto* action = new QAction(entry.title, button);
        connect(button, &QPushButton::clicked, this, [this, command, action] {
            if (validateCommand(command, *action))
                performCommand(command);
        });
        m_buttons.insert(command, button);
        m_actions.insert(command, action);
        layout->addWidget(button);
        // Delete stays at the left, away from the two that keep the entry.
        if (command == CommandNames::deleteCurrentSelection)
            layout->addStretch(1);
    }
    m_buttons.value(CommandNames::moveSelectedItemsToLanternwick)->setDefault(true);
    validateButtons();
    return actionsView;
}

void MainSystemViewController::validateButtons()
{
    for (auto it = m_buttons.cbegin(); it != m_buttons.cend(); ++it)
        it.value()->setEnabled(validateCommand(it.key(), *m_actions.value(it.key())));
}

void MainSystemViewController::representedObjectChangedFrom(const QVariant&, const QVariant& current)
{
    if (!isViewLoaded())
        return;
    LOG_DEBUG("Changing represented object, updating represented system items...");
    QList<SystemItemData> items;
    for (const QVariant& record : current.toList())
        items.append(SystemItemData(record.toMap()));
    m_model->setItems(items);
}

void MainSystemViewController::setReadError(const QString& cause)
{
    m_readError = cause;
    updateReadErrorView();
}

void MainSystemViewController::updateReadErrorView()
{
    if (!m_readErrorView)
        return;
    if (!m_readError.isEmpty())
        LOG_WARN("Showing why the session's login items could not be read: %1", m_readError);
    m_readErrorView->setText(m_readError.isEmpty() ? QString() : localizator().systemItemsReadFailureText(m_readError));
    m_readErrorView->setVisible(!m_readError.isEmpty());
}

void MainSystemViewController::itemsListsSizeDidChange()
{
    LOG_VERBOSE("Items lists size did change, updating content...");
    m_itemsTableView->doItemsLayout();
}

// --- Rows ------------------------------------------------------------------------------

const SystemItemData* MainSystemViewController::itemAtIndex(int row) const
{
    return m_model ? m_model->itemAtIndex(row) : nullptr;
}

QList<int> MainSystemViewController::selectedRows() const
{
    QList<int> rows;
    if (!m_itemsTableView)
        return rows;
    for (const QModelIndex& index : m_itemsTableView->selectionModel()->selectedRows())
        if (itemAtIndex(index.row()))
            rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<SystemItemData> MainSystemViewController::selectedItems() const
{
    QList<SystemItemData> items;
    for (const int row : selectedRows())
        items.append(*itemAtIndex(row));
    return items;
}

void MainSystemViewController::selectRows(const QList<int>& rows)
{
    QItemSelection selection;
    for (const int row : rows)
        if (itemAtIndex(row))
            selection.select(m_model->index(row), m_model->index(row));
    m_itemsTableView->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!selection.isEmpty())
        m_itemsTableView->selectionModel()->setCurrentIndex(selection.first().topLeft(), QItemSelectionModel::NoUpdate);
}

// --- Taking over and ignoring ----------------------------------------------------------

void MainSystemViewController::moveSelectedItemsToLanternwick()
{
    LOG_NORMAL("Moving selected items to Lanternwick...");
    addSelectedSystemItemsToLoginGroup(&ObjectContext::getOrCreateApplicationLoginGroup, &Localizator::undoActionForCreatingFileItems);
}

void MainSystemViewController::markSelectedItemsAsIgnored()
{
    LOG_NORMAL("Marking selected items as ignored...");
    addSelectedSystemItemsToLoginGroup(&ObjectContext::getOrCreateIgnoreLoginGroup,
                                       &Localizator::undoActionForMarkingSystemItemsAsIgnored);
}

void MainSystemViewController::addSelectedSystemItemsToLoginGroup(DBLoginGroup* (ObjectContext::*group)(), ActionName actionName)
{
    ObjectContext& objects = *managedObjectContext();
    DBLoginGroup* target = (objects.*group)();
    const QList<DBLoginGroup*> groups { objects.getOrCreateApplicationLoginGroup(), objects.getOrCreateIgnoreLoginGroup() };
    // A path already taken over or ignored is not added again: the page can
    // still show it until the next reading, and a second click must not
    // make a second item.
    QSet<QString> listed;
    for (const DBLoginGroup* each : groups)
        for (const DBLoginItem* item : objects.sortedLoginItemsForGroup(each))
            if (item->loginItemType() == LoginItemTypeFile)
                listed.insert(static_cast<const DBFileItem*>(item)->itemPath());

    LOG_VERBOSE("Preparing array of URLs for importing...");
    QVariantList urls;
    QList<int> takenRows;
    QList<SystemItemData> taken;
    QStringList refused;
    for (const int row : selectedRows()) {
        const SystemItemData& item = *itemAtIndex(row);
        // An entry whose file could not be resolved says why in its description.
        if (item.itemPath().isEmpty()) {
            refused.append(QStringLiteral("%1: %2").arg(item.itemNiceDisplayName(), item.itemNiceDescription()));
            continue;
        }
        takenRows.append(row);
        if (listed.contains(item.itemPath())) {
            LOG_VERBOSE("%1 is already listed, skipping...", item.itemNiceDisplayName());
            continue;
        }
        LOG_VERBOSE("Preparing URL for %1...", item.itemNiceDisplayName());
        listed.insert(item.itemPath());
        urls.append(QUrl::fromLocalFile(item.itemPath()));
        taken.append(item);
    }
    if (!refused.isEmpty())
        localizator().runSystemItemsCannotBeMovedAlert(m_presenter ? *m_presenter : m_messageBoxes, refused);
    if (takenRows.isEmpty())
        return;
    LOG_VERBOSE("Creating %1 file items...", urls.size());
    performUndoableEdit([&] {
        if (urls.isEmpty())
            return QString();
        const QList<DBLoginItem*> created =
            editing()->createFileItemsFromData(urls, target, objects.sortedLoginItemsForGroup(target).size());
        if (created.isEmpty())
            return QString();
        // Taken over, the session's entries leave its list; ignored, they stay there.
        const bool isTakeOver = target == objects.getOrCreateApplicationLoginGroup();
        registerSessionListFollowing(*undoManager(), helpers()->applicationContext(), isTakeOver ? taken : QList<SystemItemData>(), true);
        return (localizator().*actionName)(created);
    });
    m_model->removeItemsAtRows(takenRows);
    LOG_VERBOSE("Requesting system items refresh...");
    notificationCenter().post(MHSystemItemsNotifications::MHSystemItemsChangeNotificationDidChange, this);
}

// --- Deleting ----------------------------------------------------------------------------

void MainSystemViewController::deleteCurrentSelection()
{
    LOG_NORMAL("Deleting currently selected items...");
    // The entries the user confirms, whatever is selected when the chain
    // gets to them.
    const QList<SystemItemData> confirmed = selectedItems();
    if (confirmed.isEmpty())
        return;
    QStringList names;
    for (const SystemItemData& item : confirmed)
        names.append(item.itemNiceDisplayName());
    if (!localizator().runDeleteSystemItemsDialogWithItems(m_presenter ? *m_presenter : m_messageBoxes, names))
        return;
    LOG_VERBOSE("Deleting %1 system items...", confirmed.size());
    ApplicationContext& context = helpers()->applicationContext();
    auto* deleteState = dynamic_cast<DeleteSystemItemsApplicationState*>(context.deleteSystemItemsState());
    if (!deleteState) {
        LOG_ERROR("No state to delete system items with, %1 items stay!", confirmed.size());
        return;
    }
    // The service's own deletion is not to wake the watcher of the session's
    // list; the reading refreshes the page.
    // The confirmed entries ride with the run, whatever runs start meanwhile.
    const QList<StateChain::Step> steps { { context.disableSystemItemsChangeState(), {} },
                                          { deleteState, {} },
                                          { context.readSystemItemsState(), {} },
                                          { context.enableSystemItemsChangeState(), {} } };
    StateChain::startRun(context, steps, std::make_shared<ChainRun>(nullptr, confirmed));
}

// --- Inspector ---------------------------------------------------------------------------

SystemItemInspectorViewController* MainSystemViewController::itemInspectorViewController()
{
    if (!m_itemInspectorViewController) {
        LOG_DEBUG("Initializing system item inspector due to first access...");
        m_itemInspectorPopover = new PopoverFrame(this);
        m_itemInspectorPopover->setObjectName(QStringLiteral("systemItemInspectorPopover"));
        m_itemInspectorViewController = new SystemItemInspectorViewController;
        copyCommonObjectsToViewController(*m_itemInspectorViewController);
        m_itemInspectorViewController->loadView();
        m_itemInspectorPopover->setContentWidget(m_itemInspectorViewController);
    }
    return m_itemInspectorViewController;
}

void MainSystemViewController::showLoginItemInspector(const QModelIndex& index, const QRect& rect)
{
    const SystemItemData* item = index.isValid() ? itemAtIndex(index.row()) : nullptr;
    if (!item)
        return;
    LOG_NORMAL("Showing login item inspector.");
    SystemItemInspectorViewController* inspector = itemInspectorViewController();
    inspector->setRepresentedObject(QVariant::fromValue(*item));
    // Screen readers read the item's name as the popover's title.
    m_itemInspectorPopover->setWindowTitle(item->itemNiceDisplayName());
    m_itemInspectorPopover->setAccessibleName(item->itemNiceDisplayName());
    m_itemInspectorPopover->showRelativeTo(m_itemsTableView->viewport(), rect, PopoverFrame::Edge::Right);
}

// --- Commands ----------------------------------------------------------------------------

const QHash<QString, MainSystemViewController::Command>& MainSystemViewController::commands()
{
    using C = MainSystemViewController;
    static const QHash<QString, Command> table {
        { CommandNames::moveSelectedItemsToLanternwick, &C::moveSelectedItemsToLanternwick },
        { CommandNames::markSelectedItemsAsIgnored, &C::markSelectedItemsAsIgnored },
        { CommandNames::deleteCurrentSelection, &C::deleteCurrentSelection },
    };
    return table;
}

bool MainSystemViewController::respondsToCommand(const QString& command) const
{
    return commands().contains(command);
}

bool MainSystemViewController::validateCommand(const QString& command, QAction& item)
{
    if (command != CommandNames::deleteCurrentSelection)
        return true;
    QStringList names;
    for (const SystemItemData& selected : selectedItems())
        names.append(selected.itemNiceDisplayName());
    setMenuItemTitle(item, localizator().menuItemTitleForDeletingSystemItems(names));
    return !names.isEmpty();
}

void MainSystemViewController::performCommand(const QString& command)
{
    if (const Command perform = commands().value(command))
        (this->*perform)();
}
