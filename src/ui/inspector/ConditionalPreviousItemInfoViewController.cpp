#include "ui/inspector/ConditionalPreviousItemInfoViewController.h"

#include "foundation/Log.h"
#include "model/DBConditionalPreviousItem.h"
#include "shell/ApplicationHelpers.h"
#include "shell/ModelEditing.h"
#include "ui/icons/IconsManager.h"
#include "ui/inspector/RepresentedObject.h"
#include "ui/views/ChoicePopUpButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

ConditionalPreviousItemInfoViewController::ConditionalPreviousItemInfoViewController()
{
    setObjectName(QStringLiteral("conditionalPreviousItemInfoView"));
}

ConditionalPreviousItemInfoViewController::~ConditionalPreviousItemInfoViewController() = default;

void ConditionalPreviousItemInfoViewController::awakeFromNib()
{
    m_iconView = makeIconView(IconsManager::sharedInstance().conditionalPreviousItemIcon());
    m_itemDisplayNameView = new QLabel(this);
    m_itemDisplayNameView->setObjectName(QStringLiteral("itemDisplayNameView"));
    m_itemDisplayNameView->setTextFormat(Qt::PlainText);
    m_itemDisplayNameView->setWordWrap(true);
    m_modeView = new ChoicePopUpButton(QStringLiteral("conditionalModeView"), tr("Run the next item"), this);
    auto* modeLabel = new QLabel(tr("Run the next item:"), this);
    modeLabel->setObjectName(QStringLiteral("conditionalModeLabel"));
    modeLabel->setBuddy(m_modeView);
    m_modeView->addChoice(tr("If the previous item was launched"), ConditionalPreviousItemModeIfLaunched);
    m_modeView->addChoice(tr("If the previous item was not launched"), ConditionalPreviousItemModeIfNotLaunched);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setHorizontalSpacing(12);
    layout->addWidget(m_iconView, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(m_itemDisplayNameView, 0, 1);
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(modeLabel);
    modeRow->addWidget(m_modeView);
    modeRow->addStretch(1);
    layout->addLayout(modeRow, 1, 1);
    layout->setColumnStretch(1, 1);

    connect(m_modeView, &ChoicePopUpButton::valueChosen, this, &ConditionalPreviousItemInfoViewController::conditionalPreviousItemModeDidChange);
    updateViews();
}

void ConditionalPreviousItemInfoViewController::setRepresentedObject(const QVariant& object)
{
    ViewControllerBase::setRepresentedObject(object);
    m_modeObservation.reset();
    if (DBConditionalPreviousItem* item = conditionalItem())
        m_modeObservation = item->addObserver(QStringLiteral("itemMode"), [this](ManagedObject*, const KeyValueChange&) { updateViews(); });
    updateViews();
}

DBConditionalPreviousItem* ConditionalPreviousItemInfoViewController::conditionalItem() const
{
    return RepresentedObject::liveObjectAs<DBConditionalPreviousItem>(representedObject());
}

void ConditionalPreviousItemInfoViewController::updateViews()
{
    if (!isViewLoaded())
        return;
    const DBConditionalPreviousItem* item = conditionalItem();
    const QString name = item ? item->itemNiceDisplayName() : QString();
    m_itemDisplayNameView->setText(name);
    m_itemDisplayNameView->setAccessibleName(name);
    m_modeView->showValue(item ? item->itemModeValue() : ConditionalPreviousItemModeIfLaunched);
    m_modeView->setEnabled(item);
}

void ConditionalPreviousItemInfoViewController::conditionalPreviousItemModeDidChange(const QVariant& mode)
{
    DBConditionalPreviousItem* item = conditionalItem();
    if (!item)
        return;
    LOG_NORMAL("Changing mode of %1 to %2...", item, mode.toInt());
    if (editing()->setConditionalPreviousItemMode(item, mode.toInt()))
        helpers()->saveDataToDiskUsingChangeBackup(true);
}
