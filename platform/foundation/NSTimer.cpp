#include "platform/foundation/NSTimer.h"

#include "platform/foundation/RunLoop.h"

#include <cmath>

namespace {
// As on the device: a non-positive interval means a tenth of a millisecond.
double sanitizedInterval(double seconds) {
    return seconds > 0 ? seconds : 0.0001;
}
} // namespace

NSTimer::NSTimer(Private, double interval, bool repeats, Block block)
    : interval_(sanitizedInterval(interval)), repeats_(repeats), block_(std::move(block)) {
    loopFireDate_ = RunLoop::now() + interval_;
}

NSTimer::~NSTimer() = default;

std::shared_ptr<NSTimer> NSTimer::timerWithTimeInterval(double seconds, bool repeats, Block block) {
    return std::make_shared<NSTimer>(Private{}, seconds, repeats, std::move(block));
}

std::shared_ptr<NSTimer> NSTimer::scheduledTimerWithTimeInterval(double seconds, bool repeats,
                                                                 Block block) {
    auto timer = timerWithTimeInterval(seconds, repeats, std::move(block));
    timer->schedule();
    return timer;
}

void NSTimer::schedule() {
    if (scheduled_ || !valid_) {
        return;
    }
    scheduled_ = true;
    arm(loopFireDate_);
}

void NSTimer::arm(double loopDate) {
    disarm();
    loopFireDate_ = loopDate;
    const uint64_t generation = ++generation_;
    // The loop's entry owns the timer until it fires or is cancelled.
    auto self = shared_from_this();
    timerId_ = RunLoop::main().addTimer(
        loopDate, [self = std::move(self), generation]() { self->onFire(generation); });
}

void NSTimer::disarm() {
    if (timerId_ != 0) {
        uint64_t id = timerId_;
        timerId_ = 0;
        RunLoop::main().cancelTimer(id);
    }
}

void NSTimer::onFire(uint64_t generation) {
    if (generation != generation_ || !valid_) {
        return;
    }
    timerId_ = 0;         // the loop has let go of this entry
    Block block = block_; // the block may invalidate the timer, which drops block_
    if (block) {
        block(*this);
    }
    if (!valid_ || generation != generation_) {
        return; // invalidated, or moved by setFireDate, inside the block
    }
    if (!repeats_) {
        invalidate();
        return;
    }
    // Reschedules from the fire date; firings missed while the loop was busy are skipped.
    double next = loopFireDate_ + interval_;
    const double now = RunLoop::now();
    if (next <= now) {
        next += std::ceil((now - next) / interval_) * interval_;
        if (next <= now) {
            next += interval_;
        }
    }
    arm(next);
}

void NSTimer::invalidate() {
    auto keep = weak_from_this().lock(); // the loop's entry may hold the last reference
    if (!valid_) {
        return;
    }
    valid_ = false;
    disarm();
    block_ = nullptr; // lets go of what the block holds, like a released target
}

NSDate NSTimer::fireDate() const {
    return NSDate::date().dateByAddingTimeInterval(loopFireDate_ - RunLoop::now());
}

void NSTimer::setFireDate(NSDate date) {
    const double loopDate = RunLoop::now() + date.timeIntervalSinceDate(NSDate::date());
    if (valid_ && scheduled_) {
        arm(loopDate);
    } else {
        loopFireDate_ = loopDate;
    }
}

void NSTimer::fire() {
    if (!valid_) {
        return;
    }
    Block block = block_;
    if (block) {
        block(*this);
    }
    if (!repeats_) {
        invalidate();
    }
}
