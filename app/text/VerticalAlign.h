#pragma once
// Pins a label's text to the top or bottom of its lines by padding it with blank lines,
// since a label centres its text vertically.
#include "platform/uikit/UILabel.h"

namespace VerticalAlign {

// Appends "\n " once per line the text leaves empty.
void alignTop(UILabel& self);
// Puts " \n" in front once per line the text leaves empty.
void alignBottom(UILabel& self);

} // namespace VerticalAlign
