#include "platform/foundation/NSDateFormatter.h"

#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

struct NSDateFormatter::Impl {
    std::unique_ptr<icu::SimpleDateFormat> format; // null when ICU refused the pattern
};

NSDateFormatter::NSDateFormatter() : timeZone_(NSTimeZone::localTimeZone()) {}

NSDateFormatter::~NSDateFormatter() = default;

void NSDateFormatter::setDateFormat(std::string pattern) {
    std::lock_guard lock(mutex_);
    format_ = std::move(pattern);
    impl_.reset();
}

void NSDateFormatter::setTimeZone(NSTimeZone zone) {
    std::lock_guard lock(mutex_);
    timeZone_ = std::move(zone);
    impl_.reset();
}

NSDateFormatter::Impl& NSDateFormatter::impl() const {
    if (impl_) {
        return *impl_;
    }
    impl_ = std::make_unique<Impl>();
    UErrorCode status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(format_),
                                                          icu::Locale("en_US_POSIX"), status);
    if (U_FAILURE(status)) {
        return *impl_;
    }
    format->adoptTimeZone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone_.name())));
    format->setLenient(false);
    impl_->format = std::move(format);
    return *impl_;
}

std::string NSDateFormatter::stringFromDate(NSDate date) const {
    std::lock_guard lock(mutex_);
    if (format_.empty() || !impl().format) {
        return {};
    }
    icu::UnicodeString text;
    impl().format->format(date.timeIntervalSince1970() * 1000.0, text);
    std::string out;
    text.toUTF8String(out);
    return out;
}

std::optional<NSDate> NSDateFormatter::dateFromString(const std::string& text) const {
    std::lock_guard lock(mutex_);
    if (format_.empty() || text.empty() || !impl().format) {
        return std::nullopt;
    }
    const icu::UnicodeString input = icu::UnicodeString::fromUTF8(text);
    icu::ParsePosition position(0);
    const UDate ms = impl().format->parse(input, position);
    if (position.getErrorIndex() >= 0 || position.getIndex() != input.length()) {
        return std::nullopt;
    }
    return NSDate{ms / 1000.0};
}
