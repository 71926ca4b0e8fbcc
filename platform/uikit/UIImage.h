#pragma once
// An immutable decoded image; its size is in points (pixels / scale).
#include "platform/uikit/UIGeometry.h"
#include <memory>
#include <string>
#include <string_view>

namespace render {
struct Bitmap;
}

class UIImage {
public:
    UIImage(std::shared_ptr<const render::Bitmap> bitmap, std::string name);

    // A PNG of the application bundle by name ("new32" or "new32.png"); the @2x file is
    // preferred on a scale-2 screen and either file serves when the other is missing.
    static std::shared_ptr<UIImage> imageNamed(const std::string& name);
    static std::shared_ptr<UIImage> imageWithBitmap(std::shared_ptr<const render::Bitmap> bitmap,
                                                    std::string name = {});
    // Encoded bytes (PNG, JPEG); null when undecodable.
    static std::shared_ptr<UIImage> imageWithData(std::string_view bytes, double scale = 1);

    CGSize size() const;
    double scale() const;
    const render::Bitmap& bitmap() const { return *bitmap_; }
    const std::shared_ptr<const render::Bitmap>& bitmapPtr() const { return bitmap_; }
    // The bundle name it was loaded by (empty otherwise); the automation dump shows it.
    const std::string& name() const { return name_; }

private:
    std::shared_ptr<const render::Bitmap> bitmap_;
    std::string name_;
};
