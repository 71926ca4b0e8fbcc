#pragma once
// Drives the app from a script: touches on the key window, time passing on the main loop,
// screenshots and dumps. Runs on the main thread and pumps the main loop itself.
#include "host/AutomationScript.h"
#include "host/ScreenRenderer.h"
#include "host/device/DeviceRoot.h"

#include <functional>
#include <istream>
#include <ostream>
#include <string>

namespace host {

class Automation {
public:
    struct Hooks {
        // After every step (a window presents the new frame here).
        std::function<void()> afterStep;
        // activate / deactivate.
        std::function<void(bool active)> setActive;
    };

    Automation(ScreenRenderer& screen, const DeviceRoot& device, Hooks hooks);

    // Reads and runs commands line by line until the end, `quit` or a line that cannot be
    // read or carried out (reported on `err` with its line number). Answers the exit status.
    int run(std::istream& script, std::ostream& out, std::ostream& err);

    // One command; false with `error` set when it could not be carried out.
    bool execute(const ScriptCommand& command, std::ostream& out, std::string& error);

private:
    void touch(int phase, double x, double y);
    void drag(const ScriptCommand& c);
    void settle();
    void runFor(double ms);

    ScreenRenderer& screen_;
    const DeviceRoot& device_;
    Hooks hooks_;
};

} // namespace host
