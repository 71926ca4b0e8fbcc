#include "platform/uikit/UIScreen.h"

#include "platform/foundation/DeviceHost.h"

#include <mutex>

namespace {

platform::DeviceSettings currentSettings() {
    // Without a host (a bare unit test) the device's default screen stands.
    return platform::hasDeviceHost() ? platform::deviceHost().settings()
                                     : platform::DeviceSettings{};
}

} // namespace

std::shared_ptr<UIScreen> UIScreen::mainScreen() {
    static std::shared_ptr<UIScreen> screen;
    static std::once_flag once;
    std::call_once(once, [] { screen = std::make_shared<UIScreen>(); });
    return screen;
}

CGRect UIScreen::bounds() const {
    auto s = currentSettings();
    return CGRectMake(0, 0, s.screenWidth, s.screenHeight);
}

double UIScreen::scale() const {
    return currentSettings().screenScale;
}

CGRect UIScreen::applicationFrame() const {
    auto s = currentSettings();
    return CGRectMake(0, s.statusBarHeight, s.screenWidth, s.screenHeight - s.statusBarHeight);
}
