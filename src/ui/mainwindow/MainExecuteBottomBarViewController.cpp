#include "ui/mainwindow/MainExecuteBottomBarViewController.h"

#include "foundation/Log.h"
#include "foundation/MHExecuteNotifications.h"
#include "texts/Localizator.h"
#include "ui/views/StatusLine.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace N = MHExecuteNotifications;

MainExecuteBottomBarViewController::MainExecuteBottomBarViewController(QWidget* parent)
    : ViewControllerBase(false, parent)
{
    setObjectName(QStringLiteral("executeBottomBar"));
}

MainExecuteBottomBarViewController::~MainExecuteBottomBarViewController() = default;

void MainExecuteBottomBarViewController::awakeFromNib()
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    m_infoLabel = new StatusLine(this);
    m_infoLabel->setObjectName(QStringLiteral("infoMessage"));
    m_infoLabel->setText(m_infoMessage);
    layout->addWidget(m_infoLabel, 1);
    m_cancelButton = new QPushButton(localizator().itemsPageText(Localizator::ItemsPageText::Cancel), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(m_cancelButton, &QPushButton::clicked, this, &MainExecuteBottomBarViewController::cancelRequested);
    layout->addWidget(m_cancelButton);

    for (const QLatin1String name : { N::MHExecuteDelayDidStartNotification, N::MHExecuteDelayDidTickNotification,
                                      N::MHExecuteDelayDidEndNotification, N::MHExecuteDidStartNotification,
                                      N::MHExecuteDidStartItemNotification, N::MHExecuteDidTickItemNotification,
                                      N::MHExecuteDidEndNotification }) {
        m_observers.push_back(notificationCenter().addObserver(name, nullptr, [this](const Notification& notification) {
            QMetaObject::invokeMethod(this, [this, notification] { showMessageForNotification(notification); }, Qt::QueuedConnection);
        }));
    }
}

void MainExecuteBottomBarViewController::showMessageForNotification(const Notification& notification)
{
    LOG_DEBUG("%1...", notification.name);
    const Localizator& texts = localizator();
    const QString& name = notification.name;
    if (name == N::MHExecuteDelayDidStartNotification) {
        setInfoMessage(texts.executeInfoStringForDelayDidStart(notification));
    } else if (name == N::MHExecuteDelayDidTickNotification) {
        setInfoMessage(texts.executeInfoStringForDelayDidTick(notification));
    } else if (name == N::MHExecuteDelayDidEndNotification) {
        setInfoMessage(texts.executeInfoStringForDelayDidEnd(notification));
    } else if (name == N::MHExecuteDidStartNotification) {
        setInfoMessage(texts.executeInfoStringForItemsDidStart(notification));
    } else if (name == N::MHExecuteDidStartItemNotification) {
        setInfoMessage(texts.executeInfoStringForItemDidStart(notification));
    } else if (name == N::MHExecuteDidTickItemNotification) {
        setInfoMessage(texts.executeInfoStringForItemDidTick(notification));
    } else if (name == N::MHExecuteDidEndNotification) {
        setInfoMessage(texts.executeInfoStringForItemsDidEnd(notification));
    }
}

void MainExecuteBottomBarViewController::setInfoMessage(const QString& message)
{
    m_infoMessage = message;
    if (m_infoLabel)
        m_infoLabel->setText(message);
}
