#include "platform/foundation/SystemCommand.h"

#include "platform/foundation/DeviceHost.h"

int runSystemCommand(const std::string& command) {
    return platform::deviceHost().runCommand(command);
}
