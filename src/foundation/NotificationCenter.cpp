#include "foundation/NotificationCenter.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct Observer {
    uint64_t id;
    QString name;
    const void* sender;
    NotificationCenter::Callback callback;
    bool removed = false;
    // One entry per call in progress, so that a removal knows whether it
    // waits for another thread or runs inside a call on its own thread.
    std::vector<std::thread::id> callingThreads;
};

} // namespace

struct NotificationCenter::Registry {
    std::mutex mutex;
    std::condition_variable callEnded;
    std::vector<std::shared_ptr<Observer>> observers;
    uint64_t lastId = 0;

    void remove(uint64_t id)
    {
        std::unique_lock lock(mutex);
        const auto found = std::find_if(observers.begin(), observers.end(),
                                        [id](const auto& observer) { return observer->id == id; });
        if (found == observers.end())
            return;
        const std::shared_ptr<Observer> observer = *found;
        observers.erase(found);
        observer->removed = true;
        const std::thread::id self = std::this_thread::get_id();
        callEnded.wait(lock, [&] {
            return std::all_of(observer->callingThreads.begin(), observer->callingThreads.end(),
                               [self](std::thread::id caller) { return caller == self; });
        });
    }

    void call(const std::shared_ptr<Observer>& observer, const Notification& notification)
    {
        const std::thread::id self = std::this_thread::get_id();
        {
            std::lock_guard lock(mutex);
            if (observer->removed)
                return;
            observer->callingThreads.push_back(self);
        }
        // Ends the call's registration even when the callback throws.
        struct CallEnd {
            Registry& registry;
            Observer& observer;
            std::thread::id self;
            ~CallEnd()
            {
                {
                    std::lock_guard lock(registry.mutex);
                    auto& callers = observer.callingThreads;
                    callers.erase(std::find(callers.begin(), callers.end(), self));
                }
                registry.callEnded.notify_all();
            }
        } end { *this, *observer, self };
        observer->callback(notification);
    }
};

NotificationCenter::Token::Token(std::weak_ptr<Registry> registry, uint64_t id)
    : m_registry(std::move(registry))
    , m_id(id)
{
}

NotificationCenter::Token::Token(Token&& other) noexcept
    : m_registry(std::move(other.m_registry))
    , m_id(std::exchange(other.m_id, 0))
{
}

NotificationCenter::Token& NotificationCenter::Token::operator=(Token&& other) noexcept
{
    if (this != &other) {
        reset();
        m_registry = std::move(other.m_registry);
        m_id = std::exchange(other.m_id, 0);
    }
    return *this;
}

NotificationCenter::Token::~Token()
{
    reset();
}

void NotificationCenter::Token::reset()
{
    if (const auto registry = m_registry.lock())
        registry->remove(m_id);
    m_registry.reset();
    m_id = 0;
}

NotificationCenter::NotificationCenter()
    : m_registry(std::make_shared<Registry>())
{
}

NotificationCenter::~NotificationCenter() = default;

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::Token NotificationCenter::addObserver(const QString& name, const void* sender, Callback callback)
{
    std::lock_guard lock(m_registry->mutex);
    const uint64_t id = ++m_registry->lastId;
    m_registry->observers.push_back(std::make_shared<Observer>(Observer { id, name, sender, std::move(callback), false, {} }));
    return Token(m_registry, id);
}

void NotificationCenter::post(const Notification& notification)
{
    // Keeps the registry alive if an observer destroys the centre.
    const std::shared_ptr<Registry> registry = m_registry;
    std::vector<std::shared_ptr<Observer>> matching;
    {
        std::lock_guard lock(registry->mutex);
        for (const auto& observer : registry->observers) {
            if (observer->name == notification.name && (!observer->sender || observer->sender == notification.sender))
                matching.push_back(observer);
        }
    }
    for (const auto& observer : matching)
        registry->call(observer, notification);
}

void NotificationCenter::post(const QString& name, const void* sender, const QVariantMap& userInfo)
{
    post(Notification { name, sender, userInfo });
}
