#include "ui/preferences/LanternwickEnabledSwitch.h"

#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"
#include "foundation/MHInternalNotifications.h"
#include "foundation/UserDefaults.h"
#include "texts/LanternwickObject.h"
#include "texts/Localizator.h"

#include <QApplication>
#include <utility>

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
    if (enabled) {
        m_isSwitchingOffRequested = false;
        if (!m_enabled) {
            LOG_INFO("Changing lanternwick enabled to 1...");
            store(true);
        }
        return;
    }
    if (!m_enabled || m_isSwitchingOffRequested)
        return;
    LOG_INFO("Changing lanternwick enabled to 0...");
    // The confirmation runs a loop of its own: it opens once the click or
    // the screen reader's action that asked for it has been answered.
    m_isSwitchingOffRequested = true;
    QMetaObject::invokeMethod(this, &LanternwickEnabledSwitch::confirmSwitchingOff, Qt::QueuedConnection);
}

void LanternwickEnabledSwitch::confirmSwitchingOff()
{
    // Switched on again, or off elsewhere, meanwhile.
    if (!std::exchange(m_isSwitchingOffRequested, false) || !m_enabled)
        return;
    if (!m_services.localizator().runDisableLanternwickDialogWithItems(m_presenter ? *m_presenter : m_messageBoxes)) {
        Q_EMIT changed(m_enabled);
        return;
    }
    store(false);
}

void LanternwickEnabledSwitch::store(bool enabled)
{
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
