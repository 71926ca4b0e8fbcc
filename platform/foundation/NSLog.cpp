#include "platform/foundation/NSLog.h"

#include "platform/foundation/DeviceHost.h"

#include <cstdarg>
#include <cstdio>
#include <string>

void NSLog(const char* format, ...) {
    if (!format) {
        return;
    }
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string line;
    if (length > 0) {
        line.resize(size_t(length) + 1);
        std::vsnprintf(line.data(), line.size(), format, again);
        line.resize(size_t(length));
    }
    va_end(again);
    while (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
    std::fprintf(stderr, "%s\n", line.c_str());
    if (platform::hasDeviceHost()) {
        platform::deviceHost().recordLog(line);
    }
}
