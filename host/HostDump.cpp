#include "host/HostDump.h"

#include "platform/uikit/UIWindow.h"

namespace host {
namespace {

Json strings(const std::vector<std::string>& values) {
    Json::Items items;
    items.reserve(values.size());
    for (const auto& v : values) {
        items.push_back(Json::string(v));
    }
    return Json::array(std::move(items));
}

} // namespace

Json dumpRecords(const DeviceRoot& device) {
    Json::Items posts;
    for (const auto& p : device.posts()) {
        posts.push_back(Json::object({{"platform", Json::string(p.platform)},
                                      {"text", Json::string(p.text)},
                                      {"image", Json::string(p.image)}}));
    }
    Json::Items sounds;
    for (const auto& s : device.sounds()) {
        const char* kind = s.kind == platform::SoundKind::System ? "system" : "player";
        sounds.push_back(
            Json::object({{"kind", Json::string(kind)}, {"source", Json::string(s.source)}}));
    }
    return Json::object({{"urls", strings(device.urls())},
                         {"commands", strings(device.commands())},
                         {"posts", Json::array(std::move(posts))},
                         {"sounds", Json::array(std::move(sounds))},
                         {"log", strings(device.logLines())}});
}

Json dumpScreen(const DeviceRoot& device) {
    const auto& s = device.settings();
    Json screen = Json::object({{"width", Json::number(s.screenWidth)},
                                {"height", Json::number(s.screenHeight)},
                                {"scale", Json::number(s.screenScale)}});
    Json::Items windows;
    for (const auto& window : UIWindow::windows()) {
        window->layoutIfNeeded();
        windows.push_back(window->dumpTree());
    }
    return Json::object({{"screen", std::move(screen)},
                         {"windows", Json::array(std::move(windows))},
                         {"host", dumpRecords(device)}});
}

} // namespace host
