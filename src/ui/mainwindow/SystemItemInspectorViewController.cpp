#include "ui/mainwindow/SystemItemInspectorViewController.h"

#include "engine/SystemItemData.h"
#include "foundation/Log.h"
#include "ui/inspector/FileItemInfoViewController.h"

#include <QVBoxLayout>

namespace {

QString displayNameOf(const QVariant& object)
{
    return object.canConvert<SystemItemData>() ? object.value<SystemItemData>().itemNiceDisplayName() : QStringLiteral("(null)");
}

} // namespace

SystemItemInspectorViewController::SystemItemInspectorViewController()
    : ViewControllerBase(true)
{
    setObjectName(QStringLiteral("systemItemInspectorView"));
}

SystemItemInspectorViewController::~SystemItemInspectorViewController() = default;

StaticPlaceholderContext* SystemItemInspectorViewController::placeholderContext()
{
    loadView();
    if (!m_placeholderContext) {
        LOG_DEBUG("Initializing placeholder context due to first access...");
        m_placeholderContext = std::make_unique<StaticPlaceholderContext>(m_placeholderView);
    }
    return m_placeholderContext.get();
}

FileItemInfoViewController* SystemItemInspectorViewController::fileItemInfoViewController()
{
    if (!m_fileItemInfoViewController) {
        LOG_DEBUG("Initializing file item info view controller due to first access...");
        m_fileItemInfoViewController = std::make_unique<FileItemInfoViewController>();
        copyCommonObjectsToViewController(*m_fileItemInfoViewController);
        m_fileItemInfoViewController->loadView();
    }
    return m_fileItemInfoViewController.get();
}

void SystemItemInspectorViewController::awakeFromNib()
{
    LOG_DEBUG("Awaking from nib...");
    m_placeholderView = new QWidget(this);
    m_placeholderView->setObjectName(QStringLiteral("placeholderView"));
    m_placeholderView->setMinimumWidth(320);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_placeholderView);
    showRepresentedObject();
}

void SystemItemInspectorViewController::representedObjectChangedFrom(const QVariant& previous, const QVariant& current)
{
    LOG_VERBOSE("Changing represented object from %1 to %2...", displayNameOf(previous), displayNameOf(current));
    showRepresentedObject();
}

void SystemItemInspectorViewController::showRepresentedObject()
{
    if (!isViewLoaded())
        return;
    const QVariant shown = representedObject();
    const bool exists = shown.canConvert<SystemItemData>();
    if (exists) {
        LOG_DEBUG("Preparing item info view controller...");
        fileItemInfoViewController()->setRepresentedObject(shown);
    }
    LOG_DEBUG("Updating user interface...");
    placeholderContext()->replaceViewControllerWith(exists ? fileItemInfoViewController() : nullptr);
    // The popover takes its size from here before any layout pass has run.
    m_placeholderView->updateGeometry();
}
