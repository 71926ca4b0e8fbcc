#pragma once

#include <cstdint>
#include <filesystem>

namespace chimora::service {

// Draws the small square PNG icons of the demo catalogue.
class IconPainter {
public:
    static constexpr int kSize = 64;
    enum class Shape { Circle, Triangle, Star, Note, Diamond, Rings };

    struct Look {
        uint32_t background = 0x58a230; // 0xRRGGBB
        uint32_t foreground = 0xffffff;
        Shape shape = Shape::Circle;
    };

    // False when the PNG cannot be written.
    static bool paint(const std::filesystem::path& path, const Look& look);
};

} // namespace chimora::service
