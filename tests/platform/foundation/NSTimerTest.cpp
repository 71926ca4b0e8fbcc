#include "platform/foundation/NSTimer.h"
#include "platform/foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

bool pump(const std::function<bool()>& done, double seconds = 5) {
    return RunLoop::main().runUntil(done, seconds);
}

void settle(double seconds) {
    RunLoop::main().runUntil([] { return false; }, seconds);
}

TEST(NSTimer, NonRepeatingFiresOnceThenIsInvalid) {
    int fired = 0;
    auto timer = NSTimer::scheduledTimerWithTimeInterval(0.02, false, [&](NSTimer& t) {
        ++fired;
        EXPECT_TRUE(t.isValid());
    });
    EXPECT_TRUE(timer->isValid());
    EXPECT_TRUE(pump([&] { return fired > 0; }));
    settle(0.05);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(timer->isValid());
}

TEST(NSTimer, TheLoopHoldsAScheduledTimer) {
    int fired = 0;
    std::weak_ptr<NSTimer> weak =
        NSTimer::scheduledTimerWithTimeInterval(0.01, false, [&](NSTimer&) { ++fired; });
    EXPECT_FALSE(weak.expired());
    EXPECT_TRUE(pump([&] { return fired == 1; }));
    EXPECT_TRUE(weak.expired()); // let go once it has fired
}

TEST(NSTimer, InvalidatedTimerNeverFiresAndIsReleased) {
    bool fired = false;
    auto timer =
        NSTimer::scheduledTimerWithTimeInterval(0.01, false, [&](NSTimer&) { fired = true; });
    std::weak_ptr<NSTimer> weak = timer;
    timer->invalidate();
    EXPECT_FALSE(timer->isValid());
    timer.reset();
    EXPECT_TRUE(weak.expired());
    settle(0.05);
    EXPECT_FALSE(fired);
}

TEST(NSTimer, TimersFireInDateOrder) {
    std::string order;
    auto late =
        NSTimer::scheduledTimerWithTimeInterval(0.05, false, [&](NSTimer&) { order += "L"; });
    auto early =
        NSTimer::scheduledTimerWithTimeInterval(0.01, false, [&](NSTimer&) { order += "E"; });
    EXPECT_TRUE(pump([&] { return order.size() == 2; }));
    EXPECT_EQ(order, "EL");
}

TEST(NSTimer, RepeatingTimerFiresUntilInvalidatedInsideItsBlock) {
    int fired = 0;
    std::weak_ptr<NSTimer> weak =
        NSTimer::scheduledTimerWithTimeInterval(0.01, true, [&](NSTimer& t) {
            if (++fired == 3) {
                t.invalidate();
            }
        });
    EXPECT_TRUE(pump([&] { return weak.expired(); }));
    settle(0.05);
    EXPECT_EQ(fired, 3);
}

TEST(NSTimer, RepeatingTimerReschedulesFromItsFireDate) {
    std::vector<double> fireDates; // as the timer saw them while firing
    auto timer = NSTimer::scheduledTimerWithTimeInterval(0.2, true, [&](NSTimer& t) {
        fireDates.push_back(t.fireDate().timeIntervalSince1970());
        if (fireDates.size() == 1) {
            // A slow block: the next firing still keeps to the schedule.
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        } else {
            t.invalidate();
        }
    });
    const double first = timer->fireDate().timeIntervalSince1970();
    EXPECT_TRUE(pump([&] { return fireDates.size() == 2; }));
    EXPECT_NEAR(fireDates[0], first, 0.005);
    EXPECT_NEAR(fireDates[1], first + 0.2, 0.005);
}

TEST(NSTimer, SetFireDateMovesTheFiring) {
    bool fired = false;
    auto timer =
        NSTimer::scheduledTimerWithTimeInterval(10, false, [&](NSTimer&) { fired = true; });
    EXPECT_NEAR(timer->fireDate().timeIntervalSinceNow(), 10, 0.5);
    timer->setFireDate(NSDate::date().dateByAddingTimeInterval(0.02));
    EXPECT_TRUE(pump([&] { return fired; }, 2));
}

TEST(NSTimer, UnscheduledTimerFiresOnlyOnceAdded) {
    bool fired = false;
    auto timer = NSTimer::timerWithTimeInterval(0.01, false, [&](NSTimer&) { fired = true; });
    settle(0.03);
    EXPECT_FALSE(fired);
    RunLoop::currentRunLoop().addTimer(timer, NSDefaultRunLoopMode);
    EXPECT_TRUE(pump([&] { return fired; }));
}

struct Target {
    int calls = 0;
    void handler(std::shared_ptr<NSTimer> timer) {
        ++calls;
        EXPECT_TRUE(timer);
    }
};

TEST(NSTimer, TargetSelectorFormCallsTheLivingTarget) {
    auto target = std::make_shared<Target>();
    auto timer = NSTimer::scheduledTimerWithTimeInterval(0.01, std::weak_ptr<Target>(target),
                                                         &Target::handler, false);
    EXPECT_TRUE(pump([&] { return target->calls == 1; }));
}

TEST(NSTimer, TimerOfADeadTargetInvalidatesItself) {
    auto target = std::make_shared<Target>();
    auto timer = NSTimer::scheduledTimerWithTimeInterval(0.01, std::weak_ptr<Target>(target),
                                                         &Target::handler, true);
    target.reset();
    EXPECT_TRUE(pump([&] { return !timer->isValid(); }));
}

} // namespace
