#include "platform/foundation/NSDate.h"

#include "platform/foundation/DeviceHost.h"

#include <chrono>

NSDate NSDate::date() {
    if (platform::hasDeviceHost()) {
        return NSDate{platform::deviceHost().now()};
    }
    using namespace std::chrono;
    return NSDate{duration<double>(system_clock::now().time_since_epoch()).count()};
}
