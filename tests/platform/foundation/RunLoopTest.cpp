#include "platform/foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

// Leaves nothing queued for the next test.
void drain() {
    RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 1);
}

TEST(RunLoop, WorkFromWorkersRunsOnTheMainThread) {
    drain();
    auto& loop = RunLoop::main();
    loop.adoptCurrentThreadAsMain();
    std::atomic<int> onMain{0};
    std::vector<std::thread> workers;
    for (int i = 0; i < 4; ++i) {
        workers.emplace_back([&] {
            EXPECT_FALSE(loop.isMainThread());
            for (int n = 0; n < 25; ++n) {
                dispatchMain([&] { onMain += loop.isMainThread() ? 1 : 1000; });
            }
        });
    }
    for (auto& w : workers) {
        w.join();
    }
    EXPECT_TRUE(loop.runUntil([&] { return onMain.load() >= 100; }, 5));
    EXPECT_EQ(onMain.load(), 100);
}

TEST(RunLoop, DelayedWorkRunsByDateThenByOrderAdded) {
    drain();
    auto& loop = RunLoop::main();
    std::string order;
    loop.dispatchAfter(0.06, [&] { order += "c"; });
    loop.dispatchAfter(0.02, [&] { order += "a"; });
    const double date = RunLoop::now() + 0.04;
    loop.addTimer(date, [&] { order += "b1"; });
    loop.addTimer(date, [&] { order += "b2"; });
    loop.dispatch([&] { order += "q"; });
    EXPECT_TRUE(loop.runUntil([&] { return order.size() >= 7; }, 5));
    EXPECT_EQ(order, "qab1b2c");
}

TEST(RunLoop, CancelledTimerNeverRuns) {
    drain();
    auto& loop = RunLoop::main();
    bool ran = false, later = false;
    auto id = loop.addTimer(RunLoop::now() + 0.01, [&] { ran = true; });
    loop.dispatchAfter(0.05, [&] { later = true; });
    loop.cancelTimer(id);
    loop.cancelTimer(id); // twice is harmless
    EXPECT_TRUE(loop.runUntil([&] { return later; }, 5));
    EXPECT_FALSE(ran);
}

TEST(RunLoop, RunUntilAnswersFalseWhenThePredicateNeverHolds) {
    drain();
    const double start = RunLoop::now();
    EXPECT_FALSE(RunLoop::main().runUntil([] { return false; }, 0.1));
    const double elapsed = RunLoop::now() - start;
    EXPECT_GE(elapsed, 0.1);
    EXPECT_LT(elapsed, 2.0);
}

TEST(RunLoop, RunUntilSeesStateChangedOnAnotherThread) {
    drain();
    std::atomic<bool> flag{false};
    std::thread worker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        flag = true;
    });
    const double start = RunLoop::now();
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return flag.load(); }, 5));
    EXPECT_LT(RunLoop::now() - start, 1.0);
    worker.join();
}

TEST(RunLoop, IdleCountsQueuedWorkAndActivitiesButNotTimers) {
    drain();
    auto& loop = RunLoop::main();
    EXPECT_TRUE(loop.isIdle());
    bool fired = false;
    loop.dispatchAfter(30, [&] { fired = true; });
    EXPECT_TRUE(loop.isIdle());

    loop.dispatch([] {});
    EXPECT_FALSE(loop.isIdle());
    EXPECT_TRUE(loop.runOnce());
    EXPECT_TRUE(loop.isIdle());

    std::atomic<bool> release{false};
    std::thread worker;
    {
        auto token = std::make_shared<ActivityToken>();
        EXPECT_FALSE(loop.isIdle());
        worker = std::thread([&release, token]() mutable {
            while (!release) {
                std::this_thread::yield();
            }
            token.reset();
        });
    }
    EXPECT_FALSE(loop.runUntil([&] { return loop.isIdle(); }, 0.05));
    release = true;
    EXPECT_TRUE(loop.runUntil([&] { return loop.isIdle(); }, 5));
    worker.join();
    EXPECT_FALSE(fired);
}

TEST(RunLoop, RunStopsWhenAskedFromQueuedWork) {
    drain();
    auto& loop = RunLoop::main();
    int ran = 0;
    loop.dispatchAfter(0.01, [&] { ++ran; });
    loop.dispatchAfter(0.02, [&] { loop.stop(); });
    loop.run();
    EXPECT_EQ(ran, 1);
}

TEST(RunLoop, WorkQueuedByWorkWaitsForTheNextRound) {
    drain();
    auto& loop = RunLoop::main();
    int inner = 0;
    loop.dispatch([&] { loop.dispatch([&] { ++inner; }); });
    EXPECT_TRUE(loop.runOnce());
    EXPECT_EQ(inner, 0);
    EXPECT_TRUE(loop.runOnce());
    EXPECT_EQ(inner, 1);
    EXPECT_FALSE(loop.runOnce());
}

} // namespace
