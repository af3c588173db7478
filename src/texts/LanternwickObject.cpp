#include "texts/LanternwickObject.h"

#include "foundation/NotificationCenter.h"
#include "foundation/UserDefaults.h"
#include "texts/Localizator.h"

Localizator& LanternwickObject::localizator() const
{
    return m_localizator ? *m_localizator : Localizator::shared();
}

UserDefaults& LanternwickObject::userDefaults() const
{
    return m_userDefaults ? *m_userDefaults : UserDefaults::standard();
}

NotificationCenter& LanternwickObject::notificationCenter() const
{
    return m_notificationCenter ? *m_notificationCenter : NotificationCenter::defaultCenter();
}
