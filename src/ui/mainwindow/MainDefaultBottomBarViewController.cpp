#include "ui/mainwindow/MainDefaultBottomBarViewController.h"

#include "texts/Localizator.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>

MainDefaultBottomBarViewController::MainDefaultBottomBarViewController(QWidget* parent)
    : ExecutionBottomBarViewControllerBase(parent)
{
    setObjectName(QStringLiteral("defaultBottomBar"));
}

void MainDefaultBottomBarViewController::awakeFromNib()
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(makeErrorsButton());
    layout->addStretch();
    m_systemItemsButton = new QPushButton(this);
    m_systemItemsButton->setObjectName(QStringLiteral("systemItemsButton"));
    m_systemItemsButton->setFlat(true);
    connect(m_systemItemsButton, &QPushButton::clicked, this, &MainDefaultBottomBarViewController::systemItemsRequested);
    layout->addWidget(m_systemItemsButton);
    updateSystemItemsButtonTitle();
}

void MainDefaultBottomBarViewController::setIsAtLeastOneSystemItemAvailable(bool available)
{
    m_isAtLeastOneSystemItemAvailable = available;
    updateSystemItemsButtonTitle();
}

void MainDefaultBottomBarViewController::updateSystemItemsButtonTitle()
{
    m_systemItemsButtonTitle = localizator().systemItemsButtonTitle(m_isAtLeastOneSystemItemAvailable);
    if (m_systemItemsButton) {
        m_systemItemsButton->setText(m_systemItemsButtonTitle);
        m_systemItemsButton->setAccessibleName(m_systemItemsButtonTitle);
        m_systemItemsButton->setEnabled(m_isAtLeastOneSystemItemAvailable);
    }
}
