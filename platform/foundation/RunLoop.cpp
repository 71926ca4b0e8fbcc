#include "platform/foundation/RunLoop.h"

#include "platform/foundation/NSTimer.h"

#include <algorithm>

namespace {
// Longest sleep between rounds: a `done` that watches state of another thread, without any
// work being handed over, is still seen promptly.
constexpr double kMaxSleepSeconds = 0.02;
} // namespace

RunLoop::RunLoop() : mainThread_(std::this_thread::get_id()) {}

RunLoop& RunLoop::main() {
    static RunLoop* loop = new RunLoop(); // never destroyed: workers may outlive main()
    return *loop;
}

double RunLoop::now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void RunLoop::wake() {
    {
        std::lock_guard lock(mutex_);
        ++wakeSerial_;
    }
    cv_.notify_all();
}

void RunLoop::dispatch(Task task) {
    if (!task) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(task));
    }
    wake();
}

void RunLoop::dispatchAfter(double seconds, Task task) {
    if (!task) {
        return;
    }
    addTimer(now() + std::max(0.0, seconds), std::move(task));
}

uint64_t RunLoop::addTimer(double fireDate, Task task) {
    uint64_t id;
    {
        std::lock_guard lock(mutex_);
        id = nextTimerId_++;
        timers_.emplace(std::make_pair(fireDate, id), std::move(task));
        timerDates_.emplace(id, fireDate);
    }
    wake();
    return id;
}

void RunLoop::addTimer(const std::shared_ptr<NSTimer>& timer, const char*) {
    if (timer) {
        timer->schedule();
    }
}

void RunLoop::cancelTimer(uint64_t id) {
    Task doomed; // destroyed after the lock is released: it may own what cancels timers
    {
        std::lock_guard lock(mutex_);
        auto date = timerDates_.find(id);
        if (date == timerDates_.end()) {
            return;
        }
        auto it = timers_.find({date->second, id});
        if (it != timers_.end()) {
            doomed = std::move(it->second);
            timers_.erase(it);
        }
        timerDates_.erase(date);
    }
}

bool RunLoop::nextTimerDate(double& out) const {
    std::lock_guard lock(mutex_);
    if (timers_.empty()) {
        return false;
    }
    out = timers_.begin()->first.first;
    return true;
}

bool RunLoop::isIdle() const {
    std::lock_guard lock(mutex_);
    return queue_.empty() && activities_.load() == 0;
}

void RunLoop::beginActivity() {
    activities_.fetch_add(1);
}

void RunLoop::endActivity() {
    activities_.fetch_sub(1);
    wake();
}

bool RunLoop::isMainThread() const {
    return mainThread_.load() == std::this_thread::get_id();
}

void RunLoop::adoptCurrentThreadAsMain() {
    mainThread_.store(std::this_thread::get_id());
}

bool RunLoop::runQueued() {
    size_t count;
    {
        std::lock_guard lock(mutex_);
        count = queue_.size();
    }
    // Only what was queued before this round: work queued by the work waits for the next.
    for (size_t i = 0; i < count; ++i) {
        Task task;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty()) {
                break;
            }
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        task();
    }
    return count > 0;
}

bool RunLoop::runDueTimers() {
    const double at = now();
    uint64_t lastId;
    {
        std::lock_guard lock(mutex_);
        lastId = nextTimerId_;
    }
    bool ran = false;
    for (;;) {
        Task task;
        {
            std::lock_guard lock(mutex_);
            // Timers added while this round runs (a repeating timer's next firing among
            // them) wait for the next round.
            auto it = std::find_if(timers_.begin(), timers_.end(), [&](const auto& entry) {
                return entry.first.first > at || entry.first.second < lastId;
            });
            if (it == timers_.end() || it->first.first > at) {
                break;
            }
            task = std::move(it->second);
            timerDates_.erase(it->first.second);
            timers_.erase(it);
        }
        task();
        ran = true;
    }
    return ran;
}

bool RunLoop::runOnce() {
    adoptCurrentThreadAsMain();
    bool ran = runQueued();
    ran = runDueTimers() || ran;
    return ran;
}

bool RunLoop::runUntil(const std::function<bool()>& done, double timeoutSeconds) {
    adoptCurrentThreadAsMain();
    const double deadline = now() + std::max(0.0, timeoutSeconds);
    for (;;) {
        if (done && done()) {
            return true;
        }
        runOnce();
        if (done && done()) {
            return true;
        }
        if (!done && stopped_.load()) {
            return false;
        }
        double t = now();
        if (t >= deadline) {
            return done ? done() : false;
        }
        std::unique_lock lock(mutex_);
        double wakeAt = std::min(deadline, t + kMaxSleepSeconds);
        if (!timers_.empty()) {
            wakeAt = std::min(wakeAt, timers_.begin()->first.first);
        }
        const uint64_t serial = wakeSerial_;
        if (queue_.empty() && wakeAt > t) {
            cv_.wait_for(lock, std::chrono::duration<double>(wakeAt - t),
                         [&] { return wakeSerial_ != serial; });
        }
    }
}

void RunLoop::run() {
    adoptCurrentThreadAsMain();
    stopped_.store(false);
    while (!stopped_.load()) {
        runUntil(nullptr, 3600);
    }
}

void RunLoop::stop() {
    stopped_.store(true);
    wake();
}
