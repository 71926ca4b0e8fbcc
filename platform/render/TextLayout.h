#pragma once
// Pango text layout shared by measurement and the canvas. Only render's own sources include
// this; it keeps Pango out of every other header.
#include "platform/render/Canvas.h"

#include <string_view>

struct _cairo;

namespace render::text {

// Draws `utf8` into `r` (top-aligned; the caller centres vertically if it wants to) on a
// Cairo context whose user space is points.
void draw(_cairo* cr, std::string_view utf8, const Rect& r, const Font& font, const Color& c,
          TextAlign align, LineBreak mode, int maxLines);

} // namespace render::text
