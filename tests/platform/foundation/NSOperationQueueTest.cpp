#include "platform/foundation/NSOperationQueue.h"
#include "platform/foundation/NSOperation.h"
#include "platform/foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// Runs its body on the worker; optionally holds until released.
class Probe : public NSOperation {
public:
    std::atomic<bool> ran{false};
    std::atomic<bool> sawCancel{false};
    std::atomic<bool> started{false};
    std::atomic<bool> release{true};
    std::thread::id thread;

    void main() override {
        started = true;
        thread = std::this_thread::get_id();
        while (!release && !isCancelled()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        sawCancel = isCancelled();
        ran = true;
    }
};

TEST(NSOperationQueue, RunsOperationsOffTheMainThread) {
    NSOperationQueue queue;
    auto op = std::make_shared<Probe>();
    queue.addOperation(op);
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(op->ran);
    EXPECT_TRUE(op->isFinished());
    EXPECT_NE(op->thread, std::this_thread::get_id());
}

TEST(NSOperationQueue, CancelledBeforeItStartsNeverRuns) {
    NSOperationQueue queue;
    queue.setMaxConcurrentOperationCount(1);
    auto blocker = std::make_shared<Probe>();
    blocker->release = false;
    auto waiting = std::make_shared<Probe>();
    queue.addOperation(blocker);
    queue.addOperation(waiting);
    waiting->cancel();
    blocker->release = true;
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_FALSE(waiting->started);
    EXPECT_TRUE(waiting->isFinished());
    EXPECT_TRUE(blocker->ran);
}

TEST(NSOperationQueue, CancelDuringTheRunIsSeenByTheOperation) {
    NSOperationQueue queue;
    auto op = std::make_shared<Probe>();
    op->release = false;
    queue.addOperation(op);
    while (!op->started) {
        std::this_thread::yield();
    }
    queue.cancelAllOperations();
    op->waitUntilFinished();
    EXPECT_TRUE(op->ran);
    EXPECT_TRUE(op->sawCancel);
}

TEST(NSOperationQueue, OperationsCountAsActivitiesOfTheMainLoop) {
    RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 1);
    NSOperationQueue queue;
    auto op = std::make_shared<Probe>();
    op->release = false;
    queue.addOperation(op);
    EXPECT_FALSE(RunLoop::main().isIdle());
    EXPECT_FALSE(RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 0.05));
    op->release = true;
    EXPECT_TRUE(RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 5));
    EXPECT_TRUE(op->isFinished());
}

TEST(NSOperationQueue, NeverRunsMoreThanTheMaximumAtOnce) {
    NSOperationQueue queue;
    EXPECT_EQ(queue.maxConcurrentOperationCount(), 2);
    std::atomic<int> now{0}, peak{0};
    struct Counting : NSOperation {
        std::atomic<int>& now;
        std::atomic<int>& peak;
        Counting(std::atomic<int>& n, std::atomic<int>& p) : now(n), peak(p) {}
        void main() override {
            int current = ++now;
            int seen = peak.load();
            while (current > seen && !peak.compare_exchange_weak(seen, current)) {
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            --now;
        }
    };
    for (int i = 0; i < 8; ++i) {
        queue.addOperation(std::make_shared<Counting>(now, peak));
    }
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(queue.operationCount(), 0);
    EXPECT_GE(peak.load(), 1);
    EXPECT_LE(peak.load(), 2);
}

TEST(NSOperationQueue, DestructionFinishesTheRunningAndDropsTheWaiting) {
    auto running = std::make_shared<Probe>();
    auto waiting = std::make_shared<Probe>();
    {
        NSOperationQueue queue;
        queue.setMaxConcurrentOperationCount(1);
        running->release = false;
        queue.addOperation(running);
        queue.addOperation(waiting);
        while (!running->started) {
            std::this_thread::yield();
        }
        std::thread releaser([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            running->release = true;
        });
        releaser.detach();
    }
    EXPECT_TRUE(running->ran);
    EXPECT_FALSE(running->sawCancel);
    EXPECT_FALSE(waiting->started);
    EXPECT_TRUE(waiting->isFinished());
    EXPECT_TRUE(RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 1));
}

} // namespace
