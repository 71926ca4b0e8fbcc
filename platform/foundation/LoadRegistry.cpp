#include "platform/foundation/LoadRegistry.h"

#include <mutex>
#include <vector>

namespace {
struct Registry {
    std::mutex mutex;
    std::vector<std::function<void()>> pending;
};

// Built on first use: registrations come from static initialisers in any order.
Registry& registry() {
    static auto* r = new Registry();
    return *r;
}
} // namespace

void registerLoad(std::function<void()> load) {
    if (!load) {
        return;
    }
    std::lock_guard lock(registry().mutex);
    registry().pending.push_back(std::move(load));
}

void runRegisteredLoads() {
    for (;;) {
        std::vector<std::function<void()>> batch;
        {
            std::lock_guard lock(registry().mutex);
            batch.swap(registry().pending);
        }
        if (batch.empty()) {
            return;
        }
        for (auto& load : batch) {
            load();
        }
    }
}
