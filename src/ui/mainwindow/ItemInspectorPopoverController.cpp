#include "ui/mainwindow/ItemInspectorPopoverController.h"

#include "foundation/Log.h"
#include "model/DBLoginItem.h"
#include "model/ObjectContext.h"
#include "texts/Localizator.h"
#include "ui/base/CommandNames.h"
#include "ui/base/PopoverFrame.h"
#include "ui/base/ViewControllerBase.h"
#include "ui/inspector/RepresentedObject.h"
#include "ui/views/TitledWindow.h"

#include <QAction>
#include <QEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QVariant representedItem(DBLoginItem* item)
{
    return item ? QVariant::fromValue(static_cast<ManagedObject*>(item)) : QVariant();
}

DBLoginItem* itemOf(const ViewControllerBase* inspector)
{
    return inspector ? RepresentedObject::liveObjectAs<DBLoginItem>(inspector->representedObject()) : nullptr;
}

// Screen readers read the item's name as the window's title, and hear it
// change (a delay's name tells its delay, a conditional item's its mode).
void showTitleOf(const ViewControllerBase* inspector, QWidget* window)
{
    if (!inspector || !window)
        return;
    const DBLoginItem* item = itemOf(inspector);
    const QString title = item ? item->itemNiceDisplayName() : QString();
    if (title == window->windowTitle())
        return;
    window->setWindowTitle(title);
    window->setAccessibleName(title);
}

void showItemIn(ViewControllerBase& inspector, QWidget& window, DBLoginItem* item)
{
    inspector.setRepresentedObject(representedItem(item));
    showTitleOf(&inspector, &window);
}

// The main window's Undo and Redo reach an inspector window too: a shortcut
// of a window works in every window its action is added to.
void shareUndoAndRedo(QWidget* owner, QWidget& window)
{
    if (!owner)
        return;
    for (QAction* action : owner->window()->findChildren<QAction*>())
        if (const QString command = action->data().toString(); command == CommandNames::undo || command == CommandNames::redo)
            window.addAction(action);
}

} // namespace

ItemInspectorPopoverController::ItemInspectorPopoverController(InspectorFactory factory, QWidget* owner)
    : QObject(owner)
    , m_factory(std::move(factory))
    , m_owner(owner)
{
}

ItemInspectorPopoverController::~ItemInspectorPopoverController()
{
    delete m_detachedWindow;
    delete m_popover;
}

ViewControllerBase* ItemInspectorPopoverController::itemInspectorViewController()
{
    popover();
    return m_inspector;
}

// The popover holds the inspector: both are made together.
PopoverFrame* ItemInspectorPopoverController::popover()
{
    if (!m_popover) {
        LOG_DEBUG("Initializing item inspector view controller due to first access...");
        m_inspector = m_factory();
        followItemChanges(*m_inspector);
        m_popover = new PopoverFrame(m_owner);
        m_popover->setObjectName(QStringLiteral("itemInspectorPopover"));
        shareUndoAndRedo(m_owner, *m_popover);
        auto* content = new QWidget;
        auto* layout = new QVBoxLayout(content);
        layout->setContentsMargins(0, 0, 0, 0);
        m_detachButton = new QToolButton(content);
        m_detachButton->setObjectName(QStringLiteral("detachInspectorButton"));
        m_detachButton->setAutoRaise(true);
        m_detachButton->setIcon(QIcon::fromTheme(QStringLiteral("window-new")));
        const QString detachName = m_inspector->localizator().itemsPageText(Localizator::ItemsPageText::DetachInspector);
        m_detachButton->setAccessibleName(detachName);
        m_detachButton->setToolTip(detachName);
        connect(m_detachButton, &QToolButton::clicked, this, &ItemInspectorPopoverController::detach);
        layout->addWidget(m_detachButton, 0, Qt::AlignRight);
        layout->addWidget(m_inspector, 1);
        m_popover->setContentWidget(content);
    }
    return m_popover;
}

void ItemInspectorPopoverController::followItemChanges(const ViewControllerBase& inspector)
{
    connect(inspector.managedObjectContext(), &ObjectContext::objectsDidChange, this, &ItemInspectorPopoverController::showTitles,
            Qt::UniqueConnection);
}

void ItemInspectorPopoverController::showTitles()
{
    showTitleOf(m_inspector, m_popover);
    showTitleOf(m_detachedInspector, m_detachedWindow);
}

void ItemInspectorPopoverController::showLoginItemInspector(DBLoginItem* item, QWidget* anchor, const QRect& rect)
{
    LOG_NORMAL("Showing login item inspector.");
    showItemIn(*itemInspectorViewController(), *popover(), item);
    popover()->showRelativeTo(anchor, rect, PopoverFrame::Edge::Right);
}

void ItemInspectorPopoverController::detach()
{
    LOG_DEBUG("Opening detached item inspector window...");
    DBLoginItem* item = itemOf(m_inspector);
    if (m_popover)
        m_popover->hide();
    Q_EMIT selectItemRequested(item);
    if (!m_detachedWindow) {
        LOG_DEBUG("Initializing itemInspectorDetachedWindow due to first access...");
        m_detachedWindow = new TitledWindow(m_owner ? m_owner->window() : nullptr, Qt::Tool);
        m_detachedWindow->setObjectName(QStringLiteral("itemInspectorDetachedWindow"));
        m_detachedWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_detachedWindow->installEventFilter(this);
        shareUndoAndRedo(m_owner, *m_detachedWindow);
        auto* layout = new QVBoxLayout(m_detachedWindow);
        layout->setContentsMargins(0, 0, 0, 0);
        LOG_DEBUG("Initializing detachedItemInspectorViewController due to first access...");
        m_detachedInspector = m_factory();
        followItemChanges(*m_detachedInspector);
        layout->addWidget(m_detachedInspector);
        m_detachedWindow->resize(m_inspector ? m_inspector->size() : m_detachedInspector->sizeHint());
    }
    showItemIn(*m_detachedInspector, *m_detachedWindow, item);
    m_detachedWindow->show();
    m_detachedWindow->raise();
    m_detachedWindow->activateWindow();
}

void ItemInspectorPopoverController::selectionDidChange(const QList<DBLoginItem*>& selectedItems)
{
    if (!m_detachedInspector)
        return;
    if (selectedItems.size() == 1)
        showItemIn(*m_detachedInspector, *m_detachedWindow, selectedItems.first());
    else
        closeDetachedWindow();
}

void ItemInspectorPopoverController::closeDetachedWindow()
{
    if (m_detachedWindow)
        m_detachedWindow->close();
}

bool ItemInspectorPopoverController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_detachedWindow && event->type() == QEvent::Close)
        windowWillClose();
    return QObject::eventFilter(watched, event);
}

void ItemInspectorPopoverController::windowWillClose()
{
    LOG_DEBUG("Closing detached item inspector window...");
    // The window deletes itself with its inspector; the popover's goes too.
    m_detachedWindow->removeEventFilter(this);
    m_detachedWindow = nullptr;
    m_detachedInspector = nullptr;
    if (m_popover) {
        m_popover->deleteLater();
        m_popover = nullptr;
        m_inspector = nullptr;
    }
}

void ItemInspectorPopoverController::changeToLaunchSimulationMode(bool active)
{
    itemInspectorViewController()->changeToLaunchSimulationMode(active);
    if (m_detachedInspector)
        m_detachedInspector->changeToLaunchSimulationMode(active);
}
