#include "platform/render/Canvas.h"

#include <cairo.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace render {
namespace {

struct Reader {
    std::string_view bytes;
    size_t offset = 0;
};

cairo_status_t readChunk(void* closure, unsigned char* out, unsigned int length) {
    auto* r = static_cast<Reader*>(closure);
    if (r->bytes.size() - r->offset < length) {
        return CAIRO_STATUS_READ_ERROR;
    }
    std::memcpy(out, r->bytes.data() + r->offset, length);
    r->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

bool isPNG(std::string_view bytes) {
    static constexpr unsigned char kMagic[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return bytes.size() >= sizeof kMagic && std::memcmp(bytes.data(), kMagic, sizeof kMagic) == 0;
}

} // namespace

// Differs from the device: only PNG decodes; other formats answer no image.
std::shared_ptr<const Bitmap> decodeImage(std::string_view bytes, double scale) {
    if (!isPNG(bytes) || !(scale > 0)) {
        return nullptr;
    }
    Reader reader{bytes};
    cairo_surface_t* png = cairo_image_surface_create_from_png_stream(readChunk, &reader);
    if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(png);
        return nullptr;
    }
    // Whatever format the PNG came in (RGB24, A8...), hand out ARGB32.
    const int w = cairo_image_surface_get_width(png);
    const int h = cairo_image_surface_get_height(png);
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->width = w;
    bitmap->height = h;
    bitmap->scale = scale;
    bitmap->argb.assign(static_cast<size_t>(w) * h, 0);
    cairo_surface_t* out = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(bitmap->argb.data()), CAIRO_FORMAT_ARGB32, w, h, w * 4);
    cairo_t* cr = cairo_create(out);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, png, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(out);
    cairo_surface_destroy(out);
    cairo_surface_destroy(png);
    return bitmap;
}

std::shared_ptr<const Bitmap> decodeImageFile(const std::string& hostPath, double scale) {
    std::ifstream in(hostPath, std::ios::binary);
    if (!in) {
        return nullptr;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decodeImage(bytes, scale);
}

} // namespace render
