#include "app/text/VerticalAlign.h"

namespace {

// How many of the label's lines its text leaves empty (0 with unlimited lines or no text).
int emptyLines(const UILabel& label) {
    const CGSize line = sizeWithFont(label.text(), label.font());
    if (line.height <= 0) {
        return 0;
    }
    const CGFloat boxH = line.height * static_cast<CGFloat>(label.numberOfLines());
    const CGSize text =
        sizeWithFont(label.text(), label.font(), CGSizeMake(label.frame().size.width, boxH),
                     label.lineBreakMode());
    return static_cast<int>((boxH - text.height) / line.height);
}

} // namespace

namespace VerticalAlign {

void alignTop(UILabel& self) {
    const int n = emptyLines(self);
    for (int i = 0; i < n; ++i) {
        self.setText(self.text() + "\n ");
    }
}

void alignBottom(UILabel& self) {
    const int n = emptyLines(self);
    for (int i = 0; i < n; ++i) {
        self.setText(" \n" + self.text());
    }
}

} // namespace VerticalAlign
