#include "ui/inspector/WaitPreviousItemInfoViewController.h"

#include "model/DBLoginItem.h"
#include "ui/icons/IconsManager.h"
#include "ui/inspector/RepresentedObject.h"

#include <QHBoxLayout>
#include <QLabel>

WaitPreviousItemInfoViewController::WaitPreviousItemInfoViewController()
{
    setObjectName(QStringLiteral("waitPreviousItemInfoView"));
}

void WaitPreviousItemInfoViewController::awakeFromNib()
{
    m_iconView = makeIconView(IconsManager::sharedInstance().waitPreviousItemIcon());
    m_itemDisplayNameView = new QLabel(this);
    m_itemDisplayNameView->setObjectName(QStringLiteral("itemDisplayNameView"));
    m_itemDisplayNameView->setTextFormat(Qt::PlainText);
    m_itemDisplayNameView->setWordWrap(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(12);
    layout->addWidget(m_iconView);
    layout->addWidget(m_itemDisplayNameView, 1);
    updateViews();
}

void WaitPreviousItemInfoViewController::setRepresentedObject(const QVariant& object)
{
    ViewControllerBase::setRepresentedObject(object);
    updateViews();
}

void WaitPreviousItemInfoViewController::updateViews()
{
    if (!isViewLoaded())
        return;
    const DBLoginItem* item = RepresentedObject::liveObjectAs<DBLoginItem>(representedObject());
    const QString name = item ? item->itemNiceDisplayName() : QString();
    m_itemDisplayNameView->setText(name);
    m_itemDisplayNameView->setAccessibleName(name);
}
