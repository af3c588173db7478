#pragma once
// Shows the inspector of one item in a popover beside its row, and, on the
// popover's detach button, in a tool window of its own that follows the
// selection: one selected item is shown there, any other selection closes
// the window. Closing the window drops both inspectors; the next use makes
// them again.
#include "model/DBLoginItem.h"

#include <QObject>
#include <QPointer>
#include <QToolButton>
#include <functional>

class PopoverFrame;
class QWidget;
class ViewControllerBase;

class ItemInspectorPopoverController : public QObject {
    Q_OBJECT
public:
    // Makes a loaded inspector with the common objects in place.
    using InspectorFactory = std::function<ViewControllerBase*()>;

    // The popover and the window belong to owner's window.
    ItemInspectorPopoverController(InspectorFactory factory, QWidget* owner);
    ~ItemInspectorPopoverController() override;

    // Made on first use.
    ViewControllerBase* itemInspectorViewController();
    PopoverFrame* popover();
    ViewControllerBase* detachedItemInspectorViewController() const { return m_detachedInspector; }
    QWidget* itemInspectorDetachedWindow() const { return m_detachedWindow; }
    QToolButton* detachButton() const { return m_detachButton; }
    bool isItemInspectorDetached() const { return m_detachedWindow != nullptr; }

    // Opens the popover at rect of anchor (its coordinates), on its right.
    void showLoginItemInspector(DBLoginItem* item, QWidget* anchor, const QRect& rect);
    // Moves the popover's item into the detached window.
    void detach();
    void selectionDidChange(const QList<DBLoginItem*>& selectedItems);
    void closeDetachedWindow();
    void changeToLaunchSimulationMode(bool active);

Q_SIGNALS:
    // Detaching selects the inspected item's row alone.
    void selectItemRequested(DBLoginItem* item);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void windowWillClose();
    void followItemChanges(const ViewControllerBase& inspector);
    void showTitles();

    const InspectorFactory m_factory;
    QPointer<QWidget> m_owner;
    QPointer<PopoverFrame> m_popover;
    QPointer<ViewControllerBase> m_inspector;
    QPointer<QToolButton> m_detachButton;
    QPointer<QWidget> m_detachedWindow;
    QPointer<ViewControllerBase> m_detachedInspector;
};
