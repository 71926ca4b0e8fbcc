#include "platform/uikit/UIFont.h"

#include "platform/render/Canvas.h"

double UIFont::lineHeight() const {
    return render::lineHeight(render::Font{pointSize, bold, italic});
}
