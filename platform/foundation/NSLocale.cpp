#include "platform/foundation/NSLocale.h"

#include "platform/foundation/DeviceHost.h"

std::vector<std::string> NSLocale::preferredLanguages() {
    return platform::deviceHost().settings().preferredLanguages;
}
