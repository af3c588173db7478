#include "ui/preferences/LanternwickEnabledSwitch.h"

#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/UserDefaults.h"
#include "texts/LanternwickObject.h"
#include "texts/Localizator.h"

#include <QApplication>

LanternwickEnabledSwitch::LanternwickEnabledSwitch(const LanternwickObject& services, QString outsideChangeLog, QObject* parent)
    : QObject(parent)
    , m_services(services)
    , m_outsideChangeLog(std::move(outsideChangeLog))
    , m_enabled(services.userDefaults().isLanternwickEnabled())
    , m_messageBoxes([] { return QApplication::activeWindow(); })
{
    m_enabledObserver = m_services.notificationCenter().addObserver(
        MHInternalNotifications::MHInternalNotificationLanternwickEnabledStatusDidChanged, nullptr,
        [this](const Notification& notification) {
            if (notification.sender == this)
                return;
            if (is_main_thread())
                enabledStatusDidChangeOutside();
            else
                QMetaObject::invokeMethod(this, &LanternwickEnabledSwitch::enabledStatusDidChangeOutside, Qt::QueuedConnection);
        });
}

LanternwickEnabledSwitch::~LanternwickEnabledSwitch() = default;

void LanternwickEnabledSwitch::setIsLanternwickEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    LOG_INFO("Changing lanternwick enabled to %1...", int(enabled));
    if (!enabled && !m_services.localizator().runDisableLanternwickDialogWithItems(m_presenter ? *m_presenter : m_messageBoxes)) {
        QMetaObject::invokeMethod(this, [this] { Q_EMIT changed(m_enabled); }, Qt::QueuedConnection);
        return;
    }
    m_enabled = enabled;
    m_services.userDefaults().setIsLanternwickEnabled(enabled);
    Q_EMIT changed(enabled);
    m_services.notificationCenter().post(MHInternalNotifications::MHInternalNotificationLanternwickEnabledStatusDidChanged, this);
}

void LanternwickEnabledSwitch::enabledStatusDidChangeOutside()
{
    LOG_VERBOSE("%1", m_outsideChangeLog);
    m_enabled = m_services.userDefaults().isLanternwickEnabled();
    Q_EMIT changed(m_enabled);
}
