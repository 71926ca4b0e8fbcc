#include "platform/net/ImageDecoder.h"

#include <cairo.h>

#include <cstring>

namespace {

struct Cursor {
    std::string_view bytes;
    size_t at = 0;
};

cairo_status_t readBytes(void* closure, unsigned char* out, unsigned int length) {
    auto* cursor = static_cast<Cursor*>(closure);
    if (cursor->bytes.size() - cursor->at < length) {
        return CAIRO_STATUS_READ_ERROR;
    }
    std::memcpy(out, cursor->bytes.data() + cursor->at, length);
    cursor->at += length;
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

std::shared_ptr<const DecodedImage> ImageDecoder::decode(std::string_view bytes) {
    static constexpr unsigned char kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (bytes.size() < sizeof kPngSignature ||
        std::memcmp(bytes.data(), kPngSignature, sizeof kPngSignature) != 0) {
        return nullptr;
    }
    Cursor cursor{bytes};
    cairo_surface_t* png = cairo_image_surface_create_from_png_stream(readBytes, &cursor);
    if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(png);
        return nullptr;
    }
    int width = cairo_image_surface_get_width(png);
    int height = cairo_image_surface_get_height(png);
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        cairo_surface_destroy(png);
        return nullptr;
    }
    // Whatever format the file had (grey, palette, no alpha), draw it into ARGB32.
    cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(argb);
    cairo_set_source_surface(cr, png, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(argb);

    auto image = std::make_shared<DecodedImage>();
    image->width = width;
    image->height = height;
    image->argb.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    const unsigned char* data = cairo_image_surface_get_data(argb);
    int stride = cairo_image_surface_get_stride(argb);
    for (int y = 0; y < height; ++y) {
        std::memcpy(&image->argb[static_cast<size_t>(y) * static_cast<size_t>(width)],
                    data + static_cast<size_t>(y) * static_cast<size_t>(stride),
                    static_cast<size_t>(width) * sizeof(uint32_t));
    }
    cairo_surface_destroy(argb);
    cairo_surface_destroy(png);
    return image;
}
