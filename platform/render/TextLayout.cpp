#include "platform/render/TextLayout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace render {
namespace {

constexpr const char* kFamily = "WenQuanYi Micro Hei";

// Hinted metrics and rounded glyph positions would make a text's width depend on the
// canvas scale; with both off a measurement at scale 1 matches the drawing at scale 2.
void configure(PangoContext* ctx) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(ctx, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(ctx, FALSE);
}

struct FontKey {
    double size;
    bool bold;
    bool italic;
    auto operator<=>(const FontKey&) const = default;
};

// Font descriptions are cheap but parsing and matching them is not; keep one per font.
struct DescriptionCache {
    std::map<FontKey, PangoFontDescription*> entries;
    ~DescriptionCache() {
        for (auto& [key, desc] : entries) {
            pango_font_description_free(desc);
        }
    }
};

PangoFontDescription* description(const Font& font) {
    thread_local DescriptionCache cache;
    FontKey key{font.size, font.bold, font.italic};
    auto it = cache.entries.find(key);
    if (it != cache.entries.end()) {
        return it->second;
    }
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family_static(desc, kFamily);
    pango_font_description_set_absolute_size(desc, std::max(1.0, font.size) * PANGO_SCALE);
    pango_font_description_set_weight(desc, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    cache.entries.emplace(key, desc);
    return desc;
}

struct Unref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

// One layout per thread for measuring: the per-thread default font map is created once, and
// reusing the layout avoids building a context for every question.
PangoLayout* measuringLayout() {
    thread_local std::unique_ptr<PangoLayout, Unref> layout = [] {
        PangoFontMap* map = pango_cairo_font_map_get_default();
        PangoContext* ctx = pango_font_map_create_context(map);
        configure(ctx);
        PangoLayout* l = pango_layout_new(ctx);
        g_object_unref(ctx);
        return std::unique_ptr<PangoLayout, Unref>(l);
    }();
    return layout.get();
}

PangoEllipsizeMode ellipsizeFor(LineBreak mode) {
    switch (mode) {
    case LineBreak::TruncateHead:
        return PANGO_ELLIPSIZE_START;
    case LineBreak::TruncateTail:
        return PANGO_ELLIPSIZE_END;
    case LineBreak::TruncateMiddle:
        return PANGO_ELLIPSIZE_MIDDLE;
    default:
        return PANGO_ELLIPSIZE_NONE;
    }
}

// Sets up `layout` for the text; `maxHeight` (points, <= 0 for none) lets an ellipsizing
// mode give up lines that do not fit.
void prepare(PangoLayout* layout, std::string_view utf8, const Font& font, double maxWidth,
             LineBreak mode, int maxLines, double maxHeight) {
    pango_layout_set_font_description(layout, description(font));
    pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
    pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
    pango_layout_set_single_paragraph_mode(layout, FALSE);
    if (maxWidth > 0) {
        pango_layout_set_width(layout, static_cast<int>(std::lround(maxWidth * PANGO_SCALE)));
        pango_layout_set_wrap(layout,
                              mode == LineBreak::CharWrap ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR);
    } else {
        pango_layout_set_width(layout, -1);
    }
    PangoEllipsizeMode ellipsize = ellipsizeFor(mode);
    // Pango ellipsizes every paragraph to one line unless told how many lines it may use;
    // with no limit at all the text simply wraps.
    int height = 0;
    if (maxLines > 0) {
        height = -maxLines;
    } else if (maxHeight > 0) {
        height = static_cast<int>(maxHeight * PANGO_SCALE);
    }
    if (height == 0 || maxWidth <= 0) {
        ellipsize = PANGO_ELLIPSIZE_NONE;
    }
    pango_layout_set_ellipsize(layout, ellipsize);
    pango_layout_set_height(layout, ellipsize == PANGO_ELLIPSIZE_NONE ? -1 : height);
}

// Logical height of the first `maxLines` lines (all when 0), in points.
double heightOfLines(PangoLayout* layout, int maxLines) {
    int count = pango_layout_get_line_count(layout);
    if (maxLines <= 0 || count <= maxLines) {
        PangoRectangle logical;
        pango_layout_get_extents(layout, nullptr, &logical);
        return static_cast<double>(logical.height) / PANGO_SCALE;
    }
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    int bottom = 0;
    for (int i = 0; i < maxLines; ++i) {
        int y0 = 0, y1 = 0;
        pango_layout_iter_get_line_yrange(iter, &y0, &y1);
        bottom = y1;
        if (!pango_layout_iter_next_line(iter)) {
            break;
        }
    }
    pango_layout_iter_free(iter);
    return static_cast<double>(bottom) / PANGO_SCALE;
}

double widthOfLines(PangoLayout* layout, int maxLines) {
    int count = pango_layout_get_line_count(layout);
    int limit = maxLines > 0 ? std::min(maxLines, count) : count;
    int width = 0;
    for (int i = 0; i < limit; ++i) {
        PangoLayoutLine* line = pango_layout_get_line_readonly(layout, i);
        PangoRectangle logical;
        pango_layout_line_get_extents(line, nullptr, &logical);
        width = std::max(width, logical.width);
    }
    return static_cast<double>(width) / PANGO_SCALE;
}

} // namespace

Size measureText(std::string_view utf8, const Font& font, double maxWidth, LineBreak mode,
                 int maxLines) {
    if (utf8.empty()) {
        return {0, 0};
    }
    PangoLayout* layout = measuringLayout();
    prepare(layout, utf8, font, maxWidth, mode, maxLines, 0);
    double w = widthOfLines(layout, maxLines);
    if (maxWidth > 0) {
        w = std::min(w, maxWidth);
    }
    return {w, heightOfLines(layout, maxLines)};
}

double lineHeight(const Font& font) {
    thread_local std::map<FontKey, double> cache;
    FontKey key{font.size, font.bold, font.italic};
    auto it = cache.find(key);
    if (it != cache.end()) {
        return it->second;
    }
    PangoLayout* layout = measuringLayout();
    prepare(layout, "Hg", font, 0, LineBreak::Clip, 1, 0);
    double h = heightOfLines(layout, 1);
    cache.emplace(key, h);
    return h;
}

namespace text {

void draw(cairo_t* cr, std::string_view utf8, const Rect& r, const Font& font, const Color& c,
          TextAlign align, LineBreak mode, int maxLines) {
    if (utf8.empty() || r.w <= 0 || r.h <= 0) {
        return;
    }
    // A drawing context follows the canvas transform, so it is kept apart from the
    // measuring one (whose matrix stays the identity).
    thread_local std::unique_ptr<PangoContext, Unref> ctx = [] {
        PangoContext* c = pango_font_map_create_context(pango_cairo_font_map_get_default());
        configure(c);
        return std::unique_ptr<PangoContext, Unref>(c);
    }();
    pango_cairo_update_context(cr, ctx.get());
    PangoLayout* layout = pango_layout_new(ctx.get());
    prepare(layout, utf8, font, r.w, mode, maxLines, r.h);
    switch (align) {
    case TextAlign::Left:
        pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
        break;
    case TextAlign::Center:
        pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
        break;
    case TextAlign::Right:
        pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
        break;
    }
    double visible = heightOfLines(layout, maxLines);
    cairo_save(cr);
    // Lines past the limit (or past the rect when no ellipsis shortened them) are cut off.
    cairo_rectangle(cr, r.x, r.y, r.w, std::min(r.h, visible));
    cairo_clip(cr);
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
    cairo_move_to(cr, r.x, r.y);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
    g_object_unref(layout);
}

} // namespace text
} // namespace render
