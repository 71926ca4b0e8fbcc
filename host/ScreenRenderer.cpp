#include "host/ScreenRenderer.h"

#include "host/StatusBar.h"
#include "platform/uikit/UIWindow.h"

#include <cstdint>

namespace host {

ScreenRenderer::ScreenRenderer(platform::DeviceSettings settings)
    : settings_(std::move(settings)) {}

render::Canvas& ScreenRenderer::render() {
    if (!canvas_) {
        canvas_ = render::Canvas::create(settings_.screenWidth, settings_.screenHeight,
                                         settings_.screenScale);
    }
    render::Canvas& canvas = *canvas_;
    // An opaque fill clears the previous frame; black is what shows where no window draws.
    canvas.fillRect({0, 0, settings_.screenWidth, settings_.screenHeight}, {0, 0, 0, 1});
    for (const auto& window : UIWindow::windows()) {
        window->render(canvas);
    }
    if (settings_.statusBarHeight > 0) {
        const double now = platform::hasDeviceHost() ? platform::deviceHost().now() : 0;
        const std::string language =
            settings_.preferredLanguages.empty() ? "en" : settings_.preferredLanguages.front();
        StatusBar::draw(canvas, settings_.screenWidth, StatusBar::timeText(now, language),
                        statusBarBackgroundIsLight());
    }
    return canvas;
}

bool ScreenRenderer::writeShot(const std::string& hostPath) {
    return render().writePNG(hostPath);
}

// Like the system's content style chosen per screen: dark text over light bars.
bool ScreenRenderer::statusBarBackgroundIsLight() {
    int w = 0, h = 0, stride = 0;
    const unsigned char* px = canvas_->pixels(w, h, stride);
    const int rows =
        std::min(h, static_cast<int>(settings_.statusBarHeight * settings_.screenScale));
    double sum = 0;
    int count = 0;
    for (int y = 0; y < rows; y += 2) {
        const auto* row = reinterpret_cast<const uint32_t*>(px + static_cast<size_t>(y) * stride);
        for (int x = 0; x < w; x += 4) {
            uint32_t p = row[x];
            sum += 0.299 * ((p >> 16) & 0xff) + 0.587 * ((p >> 8) & 0xff) + 0.114 * (p & 0xff);
            ++count;
        }
    }
    return count == 0 || sum / count > 128;
}

} // namespace host
