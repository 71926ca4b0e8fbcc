#pragma once
// The main thread's loop: a queue of work handed over from any thread, timers, and a way
// for tests and the automation driver to pump it.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class NSTimer;

class RunLoop {
public:
    using Task = std::function<void()>;

    static RunLoop& main();

    // The loop of the calling thread. There is one loop, the main one.
    static RunLoop& currentRunLoop() { return main(); }

    // Queue work for the main thread; safe from any thread.
    void dispatch(Task task);
    // Run `task` after `seconds` on the main thread (used by timers and delayed work).
    void dispatchAfter(double seconds, Task task);

    // Runs queued work and due timers on the calling thread (which becomes the main
    // thread) until `done()` answers true or `timeoutSeconds` passes. Answers done().
    // Between rounds it sleeps until new work, the next timer, an activity ending or at
    // most a short slice (so that a `done` watching another thread's state is seen).
    bool runUntil(const std::function<bool()>& done, double timeoutSeconds);
    // Runs until stop() is called.
    void run();
    void stop();
    // Runs what is ready now, without waiting: the work queued so far, then the timers due
    // now (by date, then in the order they were added). Answers whether anything ran.
    bool runOnce();

    // Idle: no queued main work and no registered activity in flight. Timers don't count.
    bool isIdle() const;

    // Work in flight off the main thread (requests, transfers, operations) registers here so
    // the idle test can see it. Begin/end pairs may come from any thread.
    void beginActivity();
    void endActivity();

    // The main thread is the one that first asked for RunLoop::main(), until another thread
    // adopts the loop.
    bool isMainThread() const;
    // Marks the calling thread as the main thread (done implicitly by runUntil/run).
    void adoptCurrentThreadAsMain();

    // Timer support for NSTimer; `fireDate` on the now() clock; answers an id for cancel.
    uint64_t addTimer(double fireDate, Task task);
    void cancelTimer(uint64_t id);
    // Earliest pending timer fire date, or none.
    bool nextTimerDate(double& out) const;

    // Schedules an NSTimer made by NSTimer::timerWithTimeInterval (one mode: the default).
    void addTimer(const std::shared_ptr<NSTimer>& timer, const char* mode = nullptr);

    // Clock used for timers: seconds, monotonic (not a wall time; NSTimer converts).
    static double now();

private:
    RunLoop();
    void wake();
    bool runQueued();
    bool runDueTimers();

    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<Task> queue_;
    std::map<std::pair<double, uint64_t>, Task> timers_;
    std::map<uint64_t, double> timerDates_;
    uint64_t nextTimerId_ = 1;
    uint64_t wakeSerial_ = 0; // bumped by everything that should end a sleep
    std::atomic<int> activities_{0};
    std::atomic<bool> stopped_{false};
    std::atomic<std::thread::id> mainThread_{};
};

// Shorthand: hand `fn` to the main thread.
inline void dispatchMain(RunLoop::Task fn) {
    RunLoop::main().dispatch(std::move(fn));
}

// Keeps the loop from reporting idle while something is in flight (RAII).
class ActivityToken {
public:
    ActivityToken() { RunLoop::main().beginActivity(); }
    ~ActivityToken() { RunLoop::main().endActivity(); }
    ActivityToken(const ActivityToken&) = delete;
    ActivityToken& operator=(const ActivityToken&) = delete;
};
