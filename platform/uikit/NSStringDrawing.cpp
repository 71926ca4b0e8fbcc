#include "platform/uikit/NSStringDrawing.h"

#include "platform/render/Canvas.h"

#include <cmath>

namespace {

render::Font toRender(const UIFont& f) {
    return render::Font{f.pointSize, f.bold, f.italic};
}

CGSize ceilSize(render::Size s) {
    return CGSizeMake(std::ceil(s.w), std::ceil(s.h));
}

} // namespace

CGSize sizeWithFont(const std::string& text, const UIFont& font) {
    if (text.empty()) {
        return CGSizeMake(0, 0);
    }
    return ceilSize(render::measureText(text, toRender(font)));
}

CGSize sizeWithFont(const std::string& text, const UIFont& font, CGSize constrainedSize,
                    NSLineBreakMode lineBreakMode) {
    if (text.empty()) {
        return CGSizeMake(0, 0);
    }
    auto rf = toRender(font);
    int maxLines = 0;
    double line = render::lineHeight(rf);
    if (constrainedSize.height > 0 && line > 0 && std::isfinite(constrainedSize.height)) {
        double fit = std::floor(constrainedSize.height / line + 1e-6);
        if (fit < 1e6) {
            maxLines = std::max(1, static_cast<int>(fit));
        }
    }
    double width = constrainedSize.width > 0 && std::isfinite(constrainedSize.width)
                       ? constrainedSize.width
                       : 0;
    auto size = ceilSize(render::measureText(
        text, rf, width, static_cast<render::LineBreak>(lineBreakMode), maxLines));
    if (width > 0) {
        size.width = std::min(size.width, std::ceil(width));
    }
    return size;
}
