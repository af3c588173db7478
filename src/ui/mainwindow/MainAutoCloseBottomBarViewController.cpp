#include "ui/mainwindow/MainAutoCloseBottomBarViewController.h"

#include "foundation/Log.h"
#include "foundation/MHExecuteNotifications.h"
#include "texts/Localizator.h"
#include "ui/views/StatusLine.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>

namespace N = MHExecuteNotifications;

MainAutoCloseBottomBarViewController::MainAutoCloseBottomBarViewController(QWidget* parent)
    : ExecutionBottomBarViewControllerBase(parent)
{
    setObjectName(QStringLiteral("autoCloseBottomBar"));
}

MainAutoCloseBottomBarViewController::~MainAutoCloseBottomBarViewController() = default;

void MainAutoCloseBottomBarViewController::awakeFromNib()
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(makeErrorsButton());
    m_infoLabel = new StatusLine(this);
    m_infoLabel->setObjectName(QStringLiteral("infoMessage"));
    layout->addWidget(m_infoLabel, 1);
    m_cancelButton = new QPushButton(localizator().itemsPageText(Localizator::ItemsPageText::Cancel), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(m_cancelButton, &QPushButton::clicked, this, &MainAutoCloseBottomBarViewController::cancelRequested);
    layout->addWidget(m_cancelButton);

    // The first line, before any countdown has told its time.
    showMessageForNotification({ N::MHExecuteAutoCloseDidStartNotification, nullptr, {} });
    for (const QLatin1String name : { N::MHExecuteAutoCloseDidStartNotification, N::MHExecuteAutoCloseDidTickNotification,
                                      N::MHExecuteAutoCloseDidEndNotification }) {
        m_observers.push_back(notificationCenter().addObserver(name, nullptr, [this](const Notification& notification) {
            QMetaObject::invokeMethod(this, [this, notification] { showMessageForNotification(notification); }, Qt::QueuedConnection);
        }));
    }
}

void MainAutoCloseBottomBarViewController::showMessageForNotification(const Notification& notification)
{
    LOG_DEBUG("%1...", notification.name);
    const Localizator& texts = localizator();
    if (notification.name == N::MHExecuteAutoCloseDidStartNotification)
        setInfoMessage(texts.autoCloseInfoStringForDidStart(notification));
    else if (notification.name == N::MHExecuteAutoCloseDidTickNotification)
        setInfoMessage(texts.autoCloseInfoStringForDidTick(notification));
    else if (notification.name == N::MHExecuteAutoCloseDidEndNotification)
        setInfoMessage(texts.autoCloseInfoStringForDidEnd(notification));
}

void MainAutoCloseBottomBarViewController::setInfoMessage(const QString& message)
{
    m_infoMessage = message;
    if (m_infoLabel)
        m_infoLabel->setText(message);
}
