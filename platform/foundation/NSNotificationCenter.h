#pragma once
// Notifications by name, delivered synchronously on the posting thread (the main thread in
// the app), in the order the observers were added.
//
// Observers are held weakly: an observer that has been destroyed is skipped and forgotten,
// so an object need not remove itself before it dies (removeObserver still works).
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

inline constexpr const char UIApplicationDidBecomeActiveNotification[] =
    "UIApplicationDidBecomeActiveNotification";
inline constexpr const char UIApplicationWillResignActiveNotification[] =
    "UIApplicationWillResignActiveNotification";

struct NSNotification {
    std::string name;
    std::shared_ptr<void> object; // the sender, may be empty
};

class NSNotificationCenter {
public:
    using Handler = std::function<void(const NSNotification&)>;

    static NSNotificationCenter& defaultCenter();

    // `handler` runs for each notification named `name` (every name when empty) whose sender
    // is `object` (any sender when null), as long as `observer` lives. The handler should
    // not own the observer strongly, or the observer never dies.
    void addObserver(const std::weak_ptr<void>& observer, const std::string& name, Handler handler,
                     const void* object = nullptr);
    // Selector form: calls `(observer.*selector)(notification)` while the observer lives.
    template <class T>
    void addObserver(const std::shared_ptr<T>& observer, void (T::*selector)(const NSNotification&),
                     const std::string& name, const void* object = nullptr) {
        std::weak_ptr<T> weak = observer;
        addObserver(
            std::weak_ptr<void>(observer), name,
            [weak, selector](const NSNotification& n) {
                if (auto strong = weak.lock()) {
                    ((*strong).*selector)(n);
                }
            },
            object);
    }

    // Every registration of `observer`, or only those for `name`.
    void removeObserver(const std::weak_ptr<void>& observer);
    void removeObserver(const std::weak_ptr<void>& observer, const std::string& name);

    void postNotificationName(const std::string& name,
                              const std::shared_ptr<void>& object = nullptr);
    void postNotification(const NSNotification& notification);

    // Registrations whose observer still lives (for tests).
    size_t observerCount() const;

private:
    struct Entry {
        uint64_t id;
        std::weak_ptr<void> observer;
        std::string name;
        const void* object;
        std::shared_ptr<const Handler> handler;
    };
    bool isRegistered(uint64_t id) const;

    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    uint64_t nextId_ = 1;
};
