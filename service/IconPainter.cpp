#include "service/IconPainter.h"

#include <cairo.h>

#include <cmath>
#include <numbers>

namespace chimora::service {

namespace {

void setColour(cairo_t* cr, uint32_t rgb) {
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0,
                         (rgb & 0xff) / 255.0);
}

void roundedSquare(cairo_t* cr, double size, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, size - radius, radius, radius, -std::numbers::pi / 2, 0);
    cairo_arc(cr, size - radius, size - radius, radius, 0, std::numbers::pi / 2);
    cairo_arc(cr, radius, size - radius, radius, std::numbers::pi / 2, std::numbers::pi);
    cairo_arc(cr, radius, radius, radius, std::numbers::pi, 3 * std::numbers::pi / 2);
    cairo_close_path(cr);
}

} // namespace

bool IconPainter::paint(const std::filesystem::path& path, const Look& look) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
    cairo_t* cr = cairo_create(surface);
    const double s = kSize, c = s / 2;

    roundedSquare(cr, s, 12);
    setColour(cr, look.background);
    cairo_fill(cr);

    setColour(cr, look.foreground);
    switch (look.shape) {
    case Shape::Circle:
        cairo_arc(cr, c, c, 18, 0, 2 * std::numbers::pi);
        cairo_fill(cr);
        break;
    case Shape::Triangle:
        cairo_move_to(cr, c, 12);
        cairo_line_to(cr, s - 12, s - 14);
        cairo_line_to(cr, 12, s - 14);
        cairo_close_path(cr);
        cairo_fill(cr);
        break;
    case Shape::Star:
        for (int i = 0; i < 10; ++i) {
            double r = i % 2 ? 9 : 22;
            double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
            double x = c + r * std::cos(a), y = c + r * std::sin(a);
            if (i == 0)
                cairo_move_to(cr, x, y);
            else
                cairo_line_to(cr, x, y);
        }
        cairo_close_path(cr);
        cairo_fill(cr);
        break;
    case Shape::Note:
        cairo_arc(cr, 24, 44, 8, 0, 2 * std::numbers::pi);
        cairo_fill(cr);
        cairo_rectangle(cr, 29, 14, 4, 30);
        cairo_fill(cr);
        cairo_move_to(cr, 33, 14);
        cairo_curve_to(cr, 44, 18, 46, 26, 42, 32);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
        break;
    case Shape::Diamond:
        cairo_move_to(cr, c, 10);
        cairo_line_to(cr, s - 14, c);
        cairo_line_to(cr, c, s - 10);
        cairo_line_to(cr, 14, c);
        cairo_close_path(cr);
        cairo_fill(cr);
        break;
    case Shape::Rings:
        cairo_set_line_width(cr, 4);
        for (double r : {8.0, 15.0, 22.0}) {
            cairo_arc(cr, c, c, r, 0, 2 * std::numbers::pi);
            cairo_stroke(cr);
        }
        break;
    }

    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

} // namespace chimora::service
