#pragma once
// Class-level `load` operations: registered during static initialisation, run by the
// platform once the host is set up and before the application delegate is created.
//
//   static LoadRegistrar storeManagerLoad(&StoreManager::load);
#include <functional>

void registerLoad(std::function<void()> load);

struct LoadRegistrar {
    explicit LoadRegistrar(std::function<void()> load) { registerLoad(std::move(load)); }
};

// Runs, in the order registered, every load not run before; each runs exactly once however
// often this is called. Loads registered by a load run in the same call.
void runRegisteredLoads();
