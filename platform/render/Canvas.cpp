#include "platform/render/Canvas.h"
#include "platform/render/TextLayout.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace render {
namespace {

void roundedRectPath(cairo_t* cr, const Rect& r, double radius) {
    radius = std::clamp(radius, 0.0, std::min(r.w, r.h) / 2);
    if (radius <= 0) {
        cairo_rectangle(cr, r.x, r.y, r.w, r.h);
        return;
    }
    const double x0 = r.x, y0 = r.y, x1 = r.x + r.w, y1 = r.y + r.h;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x1 - radius, y0 + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x1 - radius, y1 - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x0 + radius, y1 - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x0 + radius, y0 + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void setColor(cairo_t* cr, const Color& c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

// One horizontal and one vertical running-sum pass of a box blur over an A8 mask.
void boxBlur(std::vector<unsigned char>& px, int w, int h, int stride, int radius) {
    if (radius < 1) {
        return;
    }
    std::vector<unsigned char> tmp(px.size());
    const int window = 2 * radius + 1;
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = &px[static_cast<size_t>(y) * stride];
        unsigned char* out = &tmp[static_cast<size_t>(y) * stride];
        int sum = 0;
        for (int x = -radius; x <= radius; ++x) {
            sum += (x >= 0 && x < w) ? row[x] : 0;
        }
        for (int x = 0; x < w; ++x) {
            out[x] = static_cast<unsigned char>(sum / window);
            int add = x + radius + 1, drop = x - radius;
            sum += (add < w ? row[add] : 0) - (drop >= 0 ? row[drop] : 0);
        }
    }
    for (int x = 0; x < w; ++x) {
        int sum = 0;
        for (int y = -radius; y <= radius; ++y) {
            sum += (y >= 0 && y < h) ? tmp[static_cast<size_t>(y) * stride + x] : 0;
        }
        for (int y = 0; y < h; ++y) {
            px[static_cast<size_t>(y) * stride + x] = static_cast<unsigned char>(sum / window);
            int add = y + radius + 1, drop = y - radius;
            sum += (add < h ? tmp[static_cast<size_t>(add) * stride + x] : 0) -
                   (drop >= 0 ? tmp[static_cast<size_t>(drop) * stride + x] : 0);
        }
    }
}

class CairoCanvas final : public Canvas {
public:
    CairoCanvas(double width, double height, double scale) : scale_(scale) {
        int pw = std::max(1, static_cast<int>(std::ceil(width * scale)));
        int ph = std::max(1, static_cast<int>(std::ceil(height * scale)));
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pw, ph);
        cr_ = cairo_create(surface_);
        cairo_scale(cr_, scale, scale);
    }
    ~CairoCanvas() override {
        cairo_destroy(cr_);
        cairo_surface_destroy(surface_);
    }
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    bool ok() const {
        return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS &&
               cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
    }

    double scale() const override { return scale_; }
    void save() override { cairo_save(cr_); }
    void restore() override { cairo_restore(cr_); }
    void translate(double dx, double dy) override { cairo_translate(cr_, dx, dy); }
    void clipRect(const Rect& r, double cornerRadius) override {
        cairo_new_path(cr_);
        roundedRectPath(cr_, r, cornerRadius);
        cairo_clip(cr_);
    }

    void beginGroup() override { cairo_push_group(cr_); }
    void endGroup(double alpha) override {
        cairo_pop_group_to_source(cr_);
        cairo_paint_with_alpha(cr_, std::clamp(alpha, 0.0, 1.0));
    }

    void fillRect(const Rect& r, const Color& c, double cornerRadius) override {
        cairo_new_path(cr_);
        roundedRectPath(cr_, r, cornerRadius);
        setColor(cr_, c);
        cairo_fill(cr_);
    }
    void strokeRect(const Rect& r, const Color& c, double lineWidth, double cornerRadius) override {
        if (lineWidth <= 0) {
            return;
        }
        // The platform draws a border inside the bounds.
        Rect inner{r.x + lineWidth / 2, r.y + lineWidth / 2, r.w - lineWidth, r.h - lineWidth};
        cairo_new_path(cr_);
        roundedRectPath(cr_, inner, std::max(0.0, cornerRadius - lineWidth / 2));
        setColor(cr_, c);
        cairo_set_line_width(cr_, lineWidth);
        cairo_stroke(cr_);
    }
    void fillGradient(const Rect& r, const Color& top, const Color& bottom,
                      double cornerRadius) override {
        cairo_pattern_t* p = cairo_pattern_create_linear(0, r.y, 0, r.y + r.h);
        cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
        cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
        cairo_new_path(cr_);
        roundedRectPath(cr_, r, cornerRadius);
        cairo_set_source(cr_, p);
        cairo_fill(cr_);
        cairo_pattern_destroy(p);
    }
    void drawShadow(const Rect& r, double cornerRadius, const Color& c, double dx, double dy,
                    double blurRadius, double opacity) override {
        if (opacity <= 0 || c.a <= 0 || r.w <= 0 || r.h <= 0) {
            return;
        }
        // The shape goes into an A8 mask at pixel resolution, three box passes approximate
        // a Gaussian whose spread is the blur radius.
        const double blur = std::max(0.0, blurRadius);
        const double pad = blur + 1;
        const int pw = static_cast<int>(std::ceil((r.w + 2 * pad) * scale_));
        const int ph = static_cast<int>(std::ceil((r.h + 2 * pad) * scale_));
        cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, pw, ph);
        if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(mask);
            return;
        }
        {
            cairo_t* m = cairo_create(mask);
            cairo_scale(m, scale_, scale_);
            roundedRectPath(m, Rect{pad, pad, r.w, r.h}, cornerRadius);
            cairo_set_source_rgba(m, 0, 0, 0, 1);
            cairo_fill(m);
            cairo_destroy(m);
        }
        cairo_surface_flush(mask);
        const int stride = cairo_image_surface_get_stride(mask);
        unsigned char* data = cairo_image_surface_get_data(mask);
        std::vector<unsigned char> px(data, data + static_cast<size_t>(stride) * ph);
        const int passRadius = static_cast<int>(std::lround(blur * scale_ / 2));
        for (int i = 0; i < 3; ++i) {
            boxBlur(px, pw, ph, stride, passRadius);
        }
        std::copy(px.begin(), px.end(), data);
        cairo_surface_mark_dirty(mask);

        cairo_save(cr_);
        cairo_translate(cr_, r.x + dx - pad, r.y + dy - pad);
        cairo_scale(cr_, 1 / scale_, 1 / scale_);
        cairo_set_source_rgba(cr_, c.r, c.g, c.b, c.a * std::clamp(opacity, 0.0, 1.0));
        cairo_mask_surface(cr_, mask, 0, 0);
        cairo_restore(cr_);
        cairo_surface_destroy(mask);
    }
    void drawLine(double x1, double y1, double x2, double y2, const Color& c,
                  double lineWidth) override {
        cairo_new_path(cr_);
        cairo_move_to(cr_, x1, y1);
        cairo_line_to(cr_, x2, y2);
        setColor(cr_, c);
        cairo_set_line_width(cr_, lineWidth);
        cairo_stroke(cr_);
    }
    void fillCircle(double cx, double cy, double radius, const Color& c) override {
        cairo_new_path(cr_);
        cairo_arc(cr_, cx, cy, radius, 0, 2 * M_PI);
        setColor(cr_, c);
        cairo_fill(cr_);
    }
    void drawText(std::string_view utf8, const Rect& r, const Font& font, const Color& c,
                  TextAlign align, LineBreak mode, int maxLines) override {
        text::draw(cr_, utf8, r, font, c, align, mode, maxLines);
    }
    void drawImage(const Bitmap& image, const Rect& dest) override {
        if (image.width <= 0 || image.height <= 0 || dest.w <= 0 || dest.h <= 0 ||
            image.argb.size() < static_cast<size_t>(image.width) * image.height) {
            return;
        }
        // Cairo only reads from a source surface, so handing it the const pixels is safe.
        auto* data = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(image.argb.data()));
        cairo_surface_t* src = cairo_image_surface_create_for_data(
            data, CAIRO_FORMAT_ARGB32, image.width, image.height, image.width * 4);
        cairo_save(cr_);
        cairo_new_path(cr_);
        cairo_rectangle(cr_, dest.x, dest.y, dest.w, dest.h);
        cairo_clip(cr_);
        cairo_translate(cr_, dest.x, dest.y);
        cairo_scale(cr_, dest.w / image.width, dest.h / image.height);
        cairo_set_source_surface(cr_, src, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_GOOD);
        cairo_pattern_set_extend(cairo_get_source(cr_), CAIRO_EXTEND_PAD);
        cairo_paint(cr_);
        cairo_restore(cr_);
        cairo_surface_destroy(src);
    }

    bool writePNG(const std::string& hostPath) override {
        cairo_surface_flush(surface_);
        return cairo_surface_write_to_png(surface_, hostPath.c_str()) == CAIRO_STATUS_SUCCESS;
    }
    const unsigned char* pixels(int& width, int& height, int& stride) override {
        cairo_surface_flush(surface_);
        width = cairo_image_surface_get_width(surface_);
        height = cairo_image_surface_get_height(surface_);
        stride = cairo_image_surface_get_stride(surface_);
        return cairo_image_surface_get_data(surface_);
    }

private:
    double scale_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
};

} // namespace

std::unique_ptr<Canvas> Canvas::create(double width, double height, double scale) {
    if (!(width > 0) || !(height > 0) || !(scale > 0)) {
        return nullptr;
    }
    auto canvas = std::make_unique<CairoCanvas>(width, height, scale);
    if (!canvas->ok()) {
        return nullptr;
    }
    return canvas;
}

} // namespace render
