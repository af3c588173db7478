#include "engine/LoginRecord.h"

#include "engine/ApplicationHelping.h"
#include "foundation/UserDefaults.h"

void LoginRecord::storeCurrentLogin(UserDefaults& defaults, const ApplicationHelping& helpers)
{
    if (const QDateTime boot = helpers.calculatedBootTime(); boot.isValid())
        defaults.setLastBootTime(boot);
    if (const QDateTime login = helpers.calculatedLoginTime(); login.isValid())
        defaults.setLastLoginTime(login);
    if (const QString session = helpers.loginSessionID(); !session.isEmpty())
        defaults.setLastLoginSessionID(session);
}
