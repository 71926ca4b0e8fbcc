#include "platform/foundation/DeviceHost.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace platform {
namespace {

// Never destroyed: threads still running at exit may ask for the host.
std::mutex& hostMutex() {
    static auto* m = new std::mutex;
    return *m;
}

std::shared_ptr<DeviceHost>& currentHost() {
    static auto* host = new std::shared_ptr<DeviceHost>;
    return *host;
}

// Hosts replaced by a later setDeviceHost stay alive: a reference answered earlier by
// deviceHost() (on a worker, say) must not dangle.
std::vector<std::shared_ptr<DeviceHost>>& retiredHosts() {
    static auto* hosts = new std::vector<std::shared_ptr<DeviceHost>>;
    return *hosts;
}

} // namespace

void setDeviceHost(std::shared_ptr<DeviceHost> host) {
    std::lock_guard lock(hostMutex());
    if (currentHost()) {
        retiredHosts().push_back(std::move(currentHost()));
    }
    currentHost() = std::move(host);
}

DeviceHost& deviceHost() {
    std::lock_guard lock(hostMutex());
    if (!currentHost()) {
        std::fprintf(stderr, "chimora: no device host installed\n");
        std::abort();
    }
    return *currentHost();
}

bool hasDeviceHost() {
    std::lock_guard lock(hostMutex());
    return currentHost() != nullptr;
}

} // namespace platform
