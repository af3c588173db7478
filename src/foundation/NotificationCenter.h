#pragma once
// Delivers notifications to the observers of their name, synchronously on the
// posting thread, in the order the observers were added.
//
// Any thread may post, add or remove observers at any time, also from inside
// an observer. Once an observer's token is destroyed (or reset) the observer
// is never called again: if another thread is calling it at that moment, the
// removal waits for that call to return. So an object that keeps its token as
// a member (declared after what the callback uses) may be destroyed while
// other threads post. The callback must therefore never wait for the thread
// that removes it.
#include "foundation/Notification.h"

#include <QString>
#include <QVariantMap>
#include <cstdint>
#include <functional>
#include <memory>

class NotificationCenter {
    struct Registry;

public:
    using Callback = std::function<void(const Notification&)>;

    // Removes its observer when destroyed. Outliving the centre is harmless.
    class Token {
    public:
        Token() = default;
        Token(Token&& other) noexcept;
        Token& operator=(Token&& other) noexcept;
        Token(const Token&) = delete;
        Token& operator=(const Token&) = delete;
        ~Token();

        // Removes the observer now.
        void reset();

    private:
        friend class NotificationCenter;
        Token(std::weak_ptr<Registry> registry, uint64_t id);

        std::weak_ptr<Registry> m_registry;
        uint64_t m_id = 0;
    };

    NotificationCenter();
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    static NotificationCenter& defaultCenter();

    // Observes notifications named name; with a sender, only those it posts
    // (nullptr: from any sender).
    [[nodiscard]] Token addObserver(const QString& name, const void* sender, Callback callback);

    void post(const Notification& notification);
    void post(const QString& name, const void* sender = nullptr, const QVariantMap& userInfo = {});

private:
    std::shared_ptr<Registry> m_registry;
};
