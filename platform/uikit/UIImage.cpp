#include "platform/uikit/UIImage.h"

#include "platform/foundation/DeviceHost.h"
#include "platform/foundation/NSBundle.h"
#include "platform/render/Canvas.h"

#include <filesystem>
#include <vector>

UIImage::UIImage(std::shared_ptr<const render::Bitmap> bitmap, std::string name)
    : bitmap_(std::move(bitmap)), name_(std::move(name)) {}

std::shared_ptr<UIImage> UIImage::imageNamed(const std::string& name) {
    if (name.empty() || !platform::hasDeviceHost()) {
        return nullptr;
    }
    auto& host = platform::deviceHost();
    std::string base = name;
    std::string ext = ".png";
    auto dot = base.rfind('.');
    if (dot != std::string::npos && base.find('/', dot) == std::string::npos) {
        ext = base.substr(dot);
        base.resize(dot);
    }
    std::string display = base;
    if (auto slash = display.rfind('/'); slash != std::string::npos) {
        display = display.substr(slash + 1);
    }
    struct Candidate {
        std::string file;
        double scale;
    };
    std::vector<Candidate> candidates{{base + "@2x" + ext, 2}, {base + ext, 1}};
    if (host.settings().screenScale < 2) {
        std::swap(candidates[0], candidates[1]);
    }
    const std::string bundle = NSBundle::mainBundle()->bundlePath() + "/";
    for (const auto& c : candidates) {
        auto path = host.hostPath(bundle + c.file);
        std::error_code ec;
        if (!path || !std::filesystem::is_regular_file(*path, ec)) {
            continue;
        }
        if (auto bitmap = render::decodeImageFile(path->string(), c.scale)) {
            return std::make_shared<UIImage>(std::move(bitmap), display);
        }
    }
    return nullptr;
}

std::shared_ptr<UIImage> UIImage::imageWithBitmap(std::shared_ptr<const render::Bitmap> bitmap,
                                                  std::string name) {
    if (!bitmap) {
        return nullptr;
    }
    return std::make_shared<UIImage>(std::move(bitmap), std::move(name));
}

std::shared_ptr<UIImage> UIImage::imageWithData(std::string_view bytes, double scale) {
    return imageWithBitmap(render::decodeImage(bytes, scale));
}

CGSize UIImage::size() const {
    return CGSizeMake(bitmap_->pointWidth(), bitmap_->pointHeight());
}

double UIImage::scale() const {
    return bitmap_->scale;
}
