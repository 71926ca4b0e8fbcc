#include "host/Chimora.h"

#include "BuildConfig.h"
#include "host/Automation.h"
#include "host/ScreenRenderer.h"
#include "host/Window.h"
#include "host/device/DeviceInit.h"
#include "host/device/DeviceOptions.h"
#include "host/device/DeviceRoot.h"
#include "platform/foundation/LoadRegistry.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/UIApplication.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

int deviceInit(const std::vector<std::string>& args) {
    auto parsed = host::parseDeviceOptions(args, host::OptionSet::DeviceInit);
    if (!parsed.options) {
        std::cerr << "chimora: " << parsed.error << "\n\n" << host::usageText();
        return 2;
    }
    if (parsed.options->help) {
        std::cout << host::usageText();
        return 0;
    }
    const auto& o = *parsed.options;
    auto result = host::initDevice(o.deviceRoot, {o.messenger, o.legacyMessenger});
    if (!result.ok) {
        std::cerr << "chimora: device init: " << result.error << "\n";
        return 1;
    }
    std::cout << "device root " << o.deviceRoot.string() << "\n";
    for (const auto& bundle : result.messengerBundles) {
        std::cout << "messenger " << bundle << "\n";
    }
    return 0;
}

// The app reads service addresses overridden at run time from its environment.
void publishServiceURLs(const host::DeviceOptions& o) {
    if (o.baseURL) {
        ::setenv("CHIMORA_BASE_URL", o.baseURL->c_str(), 1);
    }
    if (o.reportURL) {
        ::setenv("CHIMORA_REPORT_URL", o.reportURL->c_str(), 1);
    }
}

// Nothing is torn down, as on the device: once the app has run, the process simply ends,
// whatever its transfers and operations are still doing.
[[noreturn]] void endProcess(int status) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(status);
}

int runScript(const std::string& source, host::Automation& automation) {
    if (source == "-") {
        return automation.run(std::cin, std::cout, std::cerr);
    }
    std::ifstream file(source);
    if (!file) {
        std::cerr << "chimora: cannot read the script " << source << "\n";
        return 2;
    }
    return automation.run(file, std::cout, std::cerr);
}

} // namespace

int runChimora(int argc, char** argv,
               std::function<std::shared_ptr<UIApplicationDelegate>()> makeDelegate) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (!args.empty() && args[0] == "device") {
        if (args.size() < 2 || args[1] != "init") {
            std::cerr << "chimora: unknown device command\n\n" << host::usageText();
            return 2;
        }
        return deviceInit(std::vector<std::string>(args.begin() + 2, args.end()));
    }

    auto parsed = host::parseDeviceOptions(args, host::OptionSet::Run);
    if (!parsed.options) {
        std::cerr << "chimora: " << parsed.error << "\n\n" << host::usageText();
        return 2;
    }
    const host::DeviceOptions& o = *parsed.options;
    if (o.help) {
        std::cout << host::usageText();
        return 0;
    }

    // A root that was never initialised still gets the home folders a phone always has.
    auto init = host::initDevice(o.deviceRoot, {});
    if (!init.ok) {
        std::cerr << "chimora: " << init.error << "\n";
        return 1;
    }
    auto device = std::make_shared<host::DeviceRoot>(o.deviceRoot, BuildConfig::kResourcesDir,
                                                     o.settings, o.now);
    platform::setDeviceHost(device);
    publishServiceURLs(o);
    RunLoop::main().adoptCurrentThreadAsMain();
    runRegisteredLoads();

    host::ScreenRenderer screen(o.settings);
    std::unique_ptr<host::Window> window;
    if (!o.headless) {
        std::string error;
        window = host::Window::open(screen, error);
        if (!window) {
            std::cerr << "chimora: no window (" << error << "), running headless\n";
        }
    }

    auto app = UIApplication::sharedApplication();
    app->launch(makeDelegate ? makeDelegate() : nullptr);

    if (o.script) {
        host::Automation::Hooks hooks;
        hooks.setActive = [app](bool active) {
            if (active) {
                app->becomeActive();
            } else {
                app->resignActive();
            }
        };
        if (window) {
            hooks.afterStep = [&window] {
                window->handleEvents();
                window->present();
            };
        }
        host::Automation automation(screen, *device, hooks);
        endProcess(runScript(*o.script, automation));
    }
    if (window) {
        window->present();
        endProcess(window->run());
    }
    RunLoop::main().run();
    endProcess(0);
}
