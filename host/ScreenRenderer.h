#pragma once
// Draws what the phone's screen shows: the visible windows back to front and the status bar
// above them, at the screen's scale.
#include "platform/foundation/DeviceHost.h"
#include "platform/render/Canvas.h"

#include <memory>
#include <string>

namespace host {

class ScreenRenderer {
public:
    explicit ScreenRenderer(platform::DeviceSettings settings);

    // Renders a fresh frame into the renderer's canvas (reused between frames).
    render::Canvas& render();
    // Renders and writes a PNG at the screen's scale.
    bool writeShot(const std::string& hostPath);

    const platform::DeviceSettings& settings() const { return settings_; }

private:
    bool statusBarBackgroundIsLight();

    platform::DeviceSettings settings_;
    std::unique_ptr<render::Canvas> canvas_;
};

} // namespace host
