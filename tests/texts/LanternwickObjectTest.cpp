#include "foundation/NotificationCenter.h"
#include "foundation/UserDefaults.h"
#include "support/TestHome.h"
#include "texts/LanternwickObject.h"
#include "texts/Localizator.h"

#include <gtest/gtest.h>

namespace {
class Thing : public LanternwickObject {};
} // namespace

TEST(LanternwickObject, SharedServicesUntilReplacedAndAfterClearing)
{
    Thing thing;
    EXPECT_EQ(&thing.localizator(), &Localizator::shared());
    EXPECT_EQ(&thing.userDefaults(), &UserDefaults::standard());
    EXPECT_EQ(&thing.notificationCenter(), &NotificationCenter::defaultCenter());

    Localizator localizator;
    UserDefaults defaults(freshTestFolder("object-services") + "/settings.conf");
    NotificationCenter center;
    thing.setLocalizator(&localizator);
    thing.setUserDefaults(&defaults);
    thing.setNotificationCenter(&center);
    EXPECT_EQ(&thing.localizator(), &localizator);
    EXPECT_EQ(&thing.userDefaults(), &defaults);
    EXPECT_EQ(&thing.notificationCenter(), &center);
    EXPECT_EQ(&Thing().userDefaults(), &UserDefaults::standard()) << "a replacement belongs to one object";

    thing.setLocalizator(nullptr);
    thing.setUserDefaults(nullptr);
    thing.setNotificationCenter(nullptr);
    EXPECT_EQ(&thing.localizator(), &Localizator::shared());
    EXPECT_EQ(&thing.userDefaults(), &UserDefaults::standard());
    EXPECT_EQ(&thing.notificationCenter(), &NotificationCenter::defaultCenter());
}
