#include "platform/foundation/NSNotificationCenter.h"

#include <algorithm>

namespace {
// Moves the entries that `pred` picks into `out`, keeping the order of the rest. The caller
// destroys `out` after releasing the lock: a handler's captures may call back in here.
template <class Entries, class Pred> void takeIf(Entries& entries, Entries& out, Pred pred) {
    auto split = std::stable_partition(entries.begin(), entries.end(),
                                       [&](const auto& e) { return !pred(e); });
    std::move(split, entries.end(), std::back_inserter(out));
    entries.erase(split, entries.end());
}

bool sameOwner(const std::weak_ptr<void>& a, const std::weak_ptr<void>& b) {
    return !a.owner_before(b) && !b.owner_before(a);
}
} // namespace

NSNotificationCenter& NSNotificationCenter::defaultCenter() {
    static auto* center = new NSNotificationCenter(); // lives for the whole run
    return *center;
}

void NSNotificationCenter::addObserver(const std::weak_ptr<void>& observer, const std::string& name,
                                       Handler handler, const void* object) {
    if (!handler || observer.expired()) {
        return;
    }
    std::vector<Entry> doomed;
    std::lock_guard lock(mutex_);
    takeIf(entries_, doomed, [](const Entry& e) { return e.observer.expired(); });
    entries_.push_back(Entry{nextId_++, observer, name, object,
                             std::make_shared<const Handler>(std::move(handler))});
}

void NSNotificationCenter::removeObserver(const std::weak_ptr<void>& observer) {
    std::vector<Entry> doomed;
    std::lock_guard lock(mutex_);
    takeIf(entries_, doomed,
           [&](const Entry& e) { return e.observer.expired() || sameOwner(e.observer, observer); });
}

void NSNotificationCenter::removeObserver(const std::weak_ptr<void>& observer,
                                          const std::string& name) {
    std::vector<Entry> doomed;
    std::lock_guard lock(mutex_);
    takeIf(entries_, doomed, [&](const Entry& e) {
        return e.observer.expired() || (sameOwner(e.observer, observer) && e.name == name);
    });
}

bool NSNotificationCenter::isRegistered(uint64_t id) const {
    std::lock_guard lock(mutex_);
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.id == id; });
}

void NSNotificationCenter::postNotificationName(const std::string& name,
                                                const std::shared_ptr<void>& object) {
    postNotification(NSNotification{name, object});
}

void NSNotificationCenter::postNotification(const NSNotification& notification) {
    std::vector<Entry> matching, doomed;
    {
        std::lock_guard lock(mutex_);
        takeIf(entries_, doomed, [](const Entry& e) { return e.observer.expired(); });
        for (const auto& e : entries_) {
            if ((e.name.empty() || e.name == notification.name) &&
                (!e.object || e.object == notification.object.get())) {
                matching.push_back(e);
            }
        }
    }
    for (const auto& e : matching) {
        // Alive for the length of its handler; removed by an earlier handler: not called.
        auto alive = e.observer.lock();
        if (alive && isRegistered(e.id)) {
            (*e.handler)(notification);
        }
    }
}

size_t NSNotificationCenter::observerCount() const {
    std::lock_guard lock(mutex_);
    return size_t(std::count_if(entries_.begin(), entries_.end(),
                                [](const Entry& e) { return !e.observer.expired(); }));
}
