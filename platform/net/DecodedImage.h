#pragma once
// A decoded picture as the drawing layer keeps one: rows of premultiplied ARGB32 pixels in
// native byte order, top to bottom, without padding.
#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb; // width * height

    size_t byteCount() const { return argb.size() * sizeof(uint32_t); }
};
