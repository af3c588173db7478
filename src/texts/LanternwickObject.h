#pragma once
// How an object reaches the shared services: the texts, the settings and the
// notification centre. Each can be replaced for one object (tests give their
// own); without a replacement the process-wide instance is used. The object
// does not own a replacement: whoever sets one keeps it alive.
class Localizator;
class NotificationCenter;
class UserDefaults;

class LanternwickObject {
public:
    Localizator& localizator() const;
    // Null goes back to the shared instance.
    void setLocalizator(Localizator* localizator) { m_localizator = localizator; }

    UserDefaults& userDefaults() const;
    void setUserDefaults(UserDefaults* userDefaults) { m_userDefaults = userDefaults; }

    NotificationCenter& notificationCenter() const;
    void setNotificationCenter(NotificationCenter* center) { m_notificationCenter = center; }

protected:
    ~LanternwickObject() = default;

private:
    Localizator* m_localizator = nullptr;
    UserDefaults* m_userDefaults = nullptr;
    NotificationCenter* m_notificationCenter = nullptr;
};
