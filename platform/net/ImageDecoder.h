#pragma once
// Turns image file bytes into pixels. PNG only: the catalogue's icons are PNG.
#include "platform/net/DecodedImage.h"

#include <memory>
#include <string_view>

class ImageDecoder {
public:
    // Largest side accepted; a bigger picture is refused rather than allocated.
    static constexpr int kMaxSide = 4096;

    // Nothing when the bytes are not a picture we can read.
    static std::shared_ptr<const DecodedImage> decode(std::string_view bytes);
};
