#pragma once
// Drawing primitives for the view tree, on Cairo and Pango. Coordinates are points; the
// canvas scales them to pixels. Render has its own small value types so that it does not
// depend on the UI layer above it.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace render {

struct Color {
    double r = 0, g = 0, b = 0, a = 0;
};
struct Rect {
    double x = 0, y = 0, w = 0, h = 0;
};
struct Size {
    double w = 0, h = 0;
};
struct Font {
    double size = 17; // points; drawn as pixels at scale 1
    bool bold = false;
    bool italic = false;
};
enum class TextAlign { Left, Center, Right };
enum class LineBreak { WordWrap, CharWrap, Clip, TruncateHead, TruncateTail, TruncateMiddle };

// A decoded image: premultiplied ARGB32 pixels, native-endian, `scale` pixels per point.
struct Bitmap {
    int width = 0;
    int height = 0;
    double scale = 1;
    std::vector<uint32_t> argb;
    double pointWidth() const { return width / scale; }
    double pointHeight() const { return height / scale; }
};

// PNG (and JPEG where supported) bytes or file → bitmap; null when undecodable.
std::shared_ptr<const Bitmap> decodeImage(std::string_view bytes, double scale = 1);
std::shared_ptr<const Bitmap> decodeImageFile(const std::string& hostPath, double scale = 1);

// Text measurement. maxWidth <= 0 measures one line; maxLines 0 means unlimited.
Size measureText(std::string_view utf8, const Font& font, double maxWidth = 0,
                 LineBreak mode = LineBreak::WordWrap, int maxLines = 0);
double lineHeight(const Font& font);

class Canvas {
public:
    virtual ~Canvas() = default;
    // An offscreen canvas of width×height points at `scale`, cleared to transparent.
    static std::unique_ptr<Canvas> create(double width, double height, double scale);

    virtual double scale() const = 0;
    virtual void save() = 0;
    virtual void restore() = 0;
    virtual void translate(double dx, double dy) = 0;
    virtual void clipRect(const Rect& r, double cornerRadius = 0) = 0;

    // Content drawn between beginGroup and endGroup is composited with `alpha`.
    virtual void beginGroup() = 0;
    virtual void endGroup(double alpha) = 0;

    virtual void fillRect(const Rect& r, const Color& c, double cornerRadius = 0) = 0;
    virtual void strokeRect(const Rect& r, const Color& c, double lineWidth,
                            double cornerRadius = 0) = 0;
    // Top-to-bottom gradient between two colours (start at the top edge).
    virtual void fillGradient(const Rect& r, const Color& top, const Color& bottom,
                              double cornerRadius = 0) = 0;
    // A blurred shadow of a (rounded) rect shape, offset by (dx, dy).
    virtual void drawShadow(const Rect& r, double cornerRadius, const Color& c, double dx,
                            double dy, double blurRadius, double opacity) = 0;
    virtual void drawLine(double x1, double y1, double x2, double y2, const Color& c,
                          double lineWidth) = 0;
    virtual void fillCircle(double cx, double cy, double radius, const Color& c) = 0;
    // Text starts at the top of `r` and wraps at its width; lines past maxLines (0: no limit)
    // or below `r` are not drawn, and the truncating modes put the ellipsis where they cut.
    virtual void drawText(std::string_view utf8, const Rect& r, const Font& font, const Color& c,
                          TextAlign align, LineBreak mode, int maxLines) = 0;
    virtual void drawImage(const Bitmap& image, const Rect& dest) = 0;

    virtual bool writePNG(const std::string& hostPath) = 0;
    // Raw pixels for a window to present: premultiplied ARGB32, stride in bytes.
    virtual const unsigned char* pixels(int& width, int& height, int& stride) = 0;
};

} // namespace render
