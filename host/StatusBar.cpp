#include "host/StatusBar.h"

#include <cmath>
#include <ctime>

namespace host {

void StatusBar::draw(render::Canvas& canvas, double screenWidth, const std::string& localTime,
                     bool darkContent) {
    const render::Color ink = darkContent ? render::Color{0, 0, 0, 1} : render::Color{1, 1, 1, 1};
    const render::Color faint{ink.r, ink.g, ink.b, 0.3};
    const render::Font font{12, false, false};
    const render::Font timeFont{12, true, false};
    const double textH = render::lineHeight(font);
    const double textY = (kHeight - textH) / 2;

    // Signal: five dots, all full.
    double x = 6;
    for (int i = 0; i < 5; ++i) {
        canvas.fillCircle(x + 2.75, kHeight / 2, 2.75, ink);
        x += 6.5;
    }
    canvas.drawText("Carrier", {x + 3, textY, 80, textH}, font, ink, render::TextAlign::Left,
                    render::LineBreak::Clip, 1);

    canvas.drawText(localTime, {0, textY, screenWidth, textH}, timeFont, ink,
                    render::TextAlign::Center, render::LineBreak::Clip, 1);

    // Battery: outline, nub, full charge, percentage to its left.
    const double bw = 24, bh = 10;
    const double bx = screenWidth - 6 - 2 - bw, by = (kHeight - bh) / 2;
    canvas.strokeRect({bx, by, bw, bh}, ink, 1, 2.5);
    canvas.fillRect({bx + bw + 0.5, by + 3, 1.5, 4}, faint, 0.5);
    canvas.fillRect({bx + 2, by + 2, bw - 4, bh - 4}, ink, 1);
    canvas.drawText("100%", {bx - 4 - 40, textY, 40, textH}, font, ink, render::TextAlign::Right,
                    render::LineBreak::Clip, 1);
}

std::string StatusBar::timeText(double secondsSince1970, const std::string& language) {
    std::time_t t = static_cast<std::time_t>(std::floor(secondsSince1970));
    std::tm local{};
    localtime_r(&t, &local);
    const int hour12 = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    char hm[16];
    std::snprintf(hm, sizeof hm, "%d:%02d", hour12, local.tm_min);
    const bool pm = local.tm_hour >= 12;
    if (language.rfind("zh", 0) == 0) {
        return std::string(pm ? "下午" : "上午") + hm;
    }
    return std::string(hm) + (pm ? " PM" : " AM");
}

} // namespace host
