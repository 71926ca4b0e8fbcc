// The process entry: the simulated device's program runs the application loop with our
// delegate.
#include "app/core/AppDelegate.h"
#include "host/Chimora.h"

#include <memory>

int main(int argc, char** argv) {
    return runChimora(argc, argv, [] { return std::make_shared<AppDelegate>(); });
}
