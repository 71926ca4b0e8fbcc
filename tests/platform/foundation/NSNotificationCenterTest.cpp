#include "platform/foundation/NSNotificationCenter.h"

#include <gtest/gtest.h>

namespace {

struct Listener {
    std::vector<std::string> seen;
    void becameActive(const NSNotification& n) { seen.push_back(n.name); }
};

TEST(NSNotificationCenter, DeliversToObserversOfTheName) {
    auto& center = NSNotificationCenter::defaultCenter();
    auto listener = std::make_shared<Listener>();
    center.addObserver(listener, &Listener::becameActive, UIApplicationDidBecomeActiveNotification);
    center.postNotificationName(UIApplicationWillResignActiveNotification);
    center.postNotificationName(UIApplicationDidBecomeActiveNotification);
    EXPECT_EQ(listener->seen, std::vector<std::string>{UIApplicationDidBecomeActiveNotification});
    center.removeObserver(listener);
}

TEST(NSNotificationCenter, NothingIsDeliveredAfterTheObserverDies) {
    auto& center = NSNotificationCenter::defaultCenter();
    int calls = 0;
    auto observer = std::make_shared<int>(0);
    center.addObserver(observer, "ping", [&](const NSNotification&) { ++calls; });
    center.postNotificationName("ping");
    EXPECT_EQ(calls, 1);
    const size_t before = center.observerCount();
    observer.reset();
    center.postNotificationName("ping");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(center.observerCount(), before - 1);
}

TEST(NSNotificationCenter, RemovedObserverHearsNothing) {
    auto& center = NSNotificationCenter::defaultCenter();
    auto observer = std::make_shared<int>(0);
    int a = 0, b = 0;
    center.addObserver(observer, "a", [&](const NSNotification&) { ++a; });
    center.addObserver(observer, "b", [&](const NSNotification&) { ++b; });
    center.removeObserver(observer, "a");
    center.postNotificationName("a");
    center.postNotificationName("b");
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 1);
    center.removeObserver(observer);
    center.postNotificationName("b");
    EXPECT_EQ(b, 1);
}

TEST(NSNotificationCenter, FiltersBySenderAndCarriesIt) {
    auto& center = NSNotificationCenter::defaultCenter();
    auto observer = std::make_shared<int>(0);
    auto mine = std::make_shared<int>(1);
    auto other = std::make_shared<int>(2);
    std::vector<int> senders;
    center.addObserver(
        observer, "x",
        [&](const NSNotification& n) { senders.push_back(*static_cast<int*>(n.object.get())); },
        mine.get());
    center.postNotificationName("x", other);
    center.postNotificationName("x", mine);
    EXPECT_EQ(senders, std::vector<int>{1});
    center.removeObserver(observer);
}

TEST(NSNotificationCenter, AHandlerMayRemoveAnotherObserverMidPost) {
    auto& center = NSNotificationCenter::defaultCenter();
    auto first = std::make_shared<int>(0);
    auto second = std::make_shared<int>(0);
    int secondCalls = 0;
    center.addObserver(first, "y", [&](const NSNotification&) { center.removeObserver(second); });
    center.addObserver(second, "y", [&](const NSNotification&) { ++secondCalls; });
    center.postNotificationName("y");
    EXPECT_EQ(secondCalls, 0);
    center.removeObserver(first);
}

} // namespace
