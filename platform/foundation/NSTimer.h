#pragma once
// Timers on the main run loop. A scheduled timer is held by the loop until it is
// invalidated (a non-repeating one: until it has fired). Use on the main thread only.
#include "platform/foundation/NSDate.h"

#include <cstdint>
#include <functional>
#include <memory>

inline constexpr const char* NSDefaultRunLoopMode = "kCFRunLoopDefaultMode";

class NSTimer : public std::enable_shared_from_this<NSTimer> {
    struct Private {};

public:
    using Block = std::function<void(NSTimer&)>;

    NSTimer(Private, double interval, bool repeats, Block block);
    ~NSTimer();
    NSTimer(const NSTimer&) = delete;
    NSTimer& operator=(const NSTimer&) = delete;

    // A timer firing `seconds` from now, added to the main run loop in the default mode.
    static std::shared_ptr<NSTimer> scheduledTimerWithTimeInterval(double seconds, bool repeats,
                                                                   Block block);
    // Target/selector form. Differs from the device: the target is held weakly; a timer whose
    // target is gone invalidates itself instead of firing.
    template <class T>
    static std::shared_ptr<NSTimer>
    scheduledTimerWithTimeInterval(double seconds, std::weak_ptr<T> target,
                                   void (T::*selector)(std::shared_ptr<NSTimer>), bool repeats) {
        auto timer = timerWithTimeInterval(seconds, std::move(target), selector, repeats);
        timer->schedule();
        return timer;
    }

    // Unscheduled timers: hand them to RunLoop::addTimer.
    static std::shared_ptr<NSTimer> timerWithTimeInterval(double seconds, bool repeats,
                                                          Block block);
    template <class T>
    static std::shared_ptr<NSTimer>
    timerWithTimeInterval(double seconds, std::weak_ptr<T> target,
                          void (T::*selector)(std::shared_ptr<NSTimer>), bool repeats) {
        return timerWithTimeInterval(seconds, repeats, [target, selector](NSTimer& timer) {
            if (auto strong = target.lock()) {
                ((*strong).*selector)(timer.shared_from_this());
            } else {
                timer.invalidate();
            }
        });
    }

    void invalidate();
    bool isValid() const { return valid_; }
    double timeInterval() const { return repeats_ ? interval_ : 0; }
    // The next firing, on the device clock.
    NSDate fireDate() const;
    // Moves the next firing (also of a timer that has fired and repeats).
    void setFireDate(NSDate date);
    // Fires now, outside the schedule; a non-repeating timer is then invalidated.
    void fire();

    // Puts the timer on the main run loop (once; later calls do nothing).
    void schedule();

private:
    void arm(double loopDate);
    void disarm();
    void onFire(uint64_t generation);

    double interval_;
    bool repeats_;
    Block block_;
    bool valid_ = true;
    bool scheduled_ = false;
    double loopFireDate_ = 0; // on RunLoop::now()'s clock
    uint64_t timerId_ = 0;    // the loop's entry; 0: not armed
    uint64_t generation_ = 0; // counts arm(): tells a callback whether it was re-armed
};
