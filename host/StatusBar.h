#pragma once
// The phone's status bar drawn over the top of the screen: carrier and signal, the time from
// the device clock, the battery. Transparent like the system's own from 7.0 on.
#include "platform/render/Canvas.h"

#include <string>

namespace host {

class StatusBar {
public:
    static constexpr double kHeight = 20;

    // `localTime` is "h:mm" formatted for the device; `darkContent` picks black over a light
    // background, white over a dark one.
    static void draw(render::Canvas& canvas, double screenWidth, const std::string& localTime,
                     bool darkContent);

    // The time as the status bar shows it, for a device clock value and the first preferred
    // language: "3:07 PM", Chinese "下午3:07".
    static std::string timeText(double secondsSince1970, const std::string& language);
};

} // namespace host
