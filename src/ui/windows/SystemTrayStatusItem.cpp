#include "ui/windows/SystemTrayStatusItem.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMenu>

SystemTrayStatusItem::SystemTrayStatusItem(const QIcon& image, QMenu* menu)
    : m_icon(image)
{
    m_icon.setContextMenu(menu);
    m_icon.setToolTip(QCoreApplication::applicationName());
    // Trays that do not open the menu on a left click get it there too.
    QObject::connect(&m_icon, &QSystemTrayIcon::activated, &m_icon, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger && m_icon.contextMenu())
            m_icon.contextMenu()->popup(QCursor::pos());
    });
    m_icon.show();
}
