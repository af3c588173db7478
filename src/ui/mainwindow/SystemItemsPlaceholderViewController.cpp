#include "ui/mainwindow/SystemItemsPlaceholderViewController.h"

#include "foundation/MHItemDataKeys.h"
#include "texts/Localizator.h"
#include "ui/base/ThemeIcon.h"
#include "ui/base/UniformIconDelegate.h"

#include <QListWidget>
#include <QVBoxLayout>

SystemItemsPlaceholderViewController::SystemItemsPlaceholderViewController(QWidget* parent)
    : ViewControllerBase(true, parent)
{
    setObjectName(QStringLiteral("systemItemsView"));
}

void SystemItemsPlaceholderViewController::awakeFromNib()
{
    m_itemsList = new QListWidget(this);
    m_itemsList->setObjectName(QStringLiteral("systemItemsList"));
    m_itemsList->setAccessibleName(localizator().windowText(Localizator::WindowText::SystemItems));
    m_itemsList->setTextElideMode(Qt::ElideMiddle);
    m_itemsList->setIconSize(QSize(32, 32));
    m_itemsList->setItemDelegate(new UniformIconDelegate(m_itemsList));
    setFocusProxy(m_itemsList);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_itemsList);
    showItems();
}

void SystemItemsPlaceholderViewController::representedObjectChangedFrom(const QVariant&, const QVariant&)
{
    showItems();
}

void SystemItemsPlaceholderViewController::showItems()
{
    if (!m_itemsList)
        return;
    m_itemsList->clear();
    const QVariantList items = representedObject().toList();
    for (const QVariant& item : items) {
        const QVariantMap data = item.toMap();
        const QString name = data.value(MHItemDataKeys::name).toString();
        auto* row = new QListWidgetItem(themeIcon(data.value(MHItemDataKeys::icon).toString(), QStringLiteral("application-x-executable")), name, m_itemsList);
        row->setData(Qt::AccessibleTextRole, name);
    }
}
