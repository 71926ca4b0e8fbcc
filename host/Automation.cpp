#include "host/Automation.h"

#include "host/HostDump.h"
#include "host/PointerInput.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace host {
namespace {

// One frame of a drag: the finger moves about sixty times a second.
constexpr double kStepMs = 1000.0 / 60;
// Work that keeps queueing more work must not hang a step.
constexpr int kMaxSettleRounds = 10000;

} // namespace

Automation::Automation(ScreenRenderer& screen, const DeviceRoot& device, Hooks hooks)
    : screen_(screen), device_(device), hooks_(std::move(hooks)) {}

int Automation::run(std::istream& script, std::ostream& out, std::ostream& err) {
    settle();
    std::string line;
    int number = 0;
    while (std::getline(script, line)) {
        ++number;
        auto parsed = parseScriptLine(line);
        if (!parsed.command) {
            err << "script line " << number << ": " << parsed.error << "\n";
            return 2;
        }
        if (parsed.command->kind == ScriptCommand::Kind::None) {
            continue;
        }
        if (parsed.command->kind == ScriptCommand::Kind::Quit) {
            return 0;
        }
        std::string error;
        if (!execute(*parsed.command, out, error)) {
            err << "script line " << number << ": " << error << "\n";
            return 1;
        }
        if (hooks_.afterStep) {
            hooks_.afterStep();
        }
    }
    return 0;
}

bool Automation::execute(const ScriptCommand& c, std::ostream& out, std::string& error) {
    using Kind = ScriptCommand::Kind;
    switch (c.kind) {
    case Kind::None:
    case Kind::Quit:
        return true;
    case Kind::Tap:
        touch(UITouchPhaseBegan, c.x1, c.y1);
        touch(UITouchPhaseEnded, c.x1, c.y1);
        return true;
    case Kind::Press:
        touch(UITouchPhaseBegan, c.x1, c.y1);
        return true;
    case Kind::Release:
        touch(UITouchPhaseEnded, c.x1, c.y1);
        return true;
    case Kind::Drag:
        drag(c);
        return true;
    case Kind::Wait:
        runFor(c.ms);
        return true;
    case Kind::Idle:
        RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, c.ms / 1000);
        settle();
        return true;
    case Kind::Activate:
    case Kind::Deactivate:
        if (hooks_.setActive) {
            hooks_.setActive(c.kind == Kind::Activate);
        }
        settle();
        return true;
    case Kind::Shot:
        if (!screen_.writeShot(c.path)) {
            error = "cannot write the screenshot " + c.path;
            return false;
        }
        return true;
    case Kind::Dump: {
        settle();
        std::string text = dumpScreen(device_).serialize();
        if (c.path == "-") {
            out << text << "\n";
            out.flush();
            return true;
        }
        std::ofstream file(c.path, std::ios::binary | std::ios::trunc);
        file << text << "\n";
        file.close();
        if (!file) {
            error = "cannot write the dump " + c.path;
            return false;
        }
        return true;
    }
    }
    return true;
}

void Automation::touch(int phase, double x, double y) {
    fingerTouch(static_cast<UITouchPhase>(phase), CGPointMake(x, y));
    settle();
}

void Automation::drag(const ScriptCommand& c) {
    touch(UITouchPhaseBegan, c.x1, c.y1);
    const int steps = std::max(1, static_cast<int>(std::lround(c.ms / kStepMs)));
    for (int i = 1; i <= steps; ++i) {
        runFor(c.ms / steps);
        const double t = static_cast<double>(i) / steps;
        touch(UITouchPhaseMoved, c.x1 + (c.x2 - c.x1) * t, c.y1 + (c.y2 - c.y1) * t);
    }
    touch(UITouchPhaseEnded, c.x2, c.y2);
}

// Runs what is ready now: queued work and what it queues in turn, and due timers.
void Automation::settle() {
    for (int i = 0; i < kMaxSettleRounds && RunLoop::main().runOnce(); ++i) {
    }
}

void Automation::runFor(double ms) {
    if (ms <= 0) {
        settle();
        return;
    }
    RunLoop::main().runUntil([] { return false; }, ms / 1000);
    settle();
}

} // namespace host
