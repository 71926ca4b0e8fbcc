#pragma once
// Text measurement of the string drawing additions: sizes are rounded up to whole points.
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIGeometry.h"
#include <string>

enum NSLineBreakMode : int {
    NSLineBreakByWordWrapping = 0,
    NSLineBreakByCharWrapping = 1,
    NSLineBreakByClipping = 2,
    NSLineBreakByTruncatingHead = 3,
    NSLineBreakByTruncatingTail = 4,
    NSLineBreakByTruncatingMiddle = 5,
};
using UILineBreakMode = NSLineBreakMode;
inline constexpr NSLineBreakMode UILineBreakModeWordWrap = NSLineBreakByWordWrapping;
inline constexpr NSLineBreakMode UILineBreakModeCharacterWrap = NSLineBreakByCharWrapping;
inline constexpr NSLineBreakMode UILineBreakModeClip = NSLineBreakByClipping;
inline constexpr NSLineBreakMode UILineBreakModeHeadTruncation = NSLineBreakByTruncatingHead;
inline constexpr NSLineBreakMode UILineBreakModeTailTruncation = NSLineBreakByTruncatingTail;
inline constexpr NSLineBreakMode UILineBreakModeMiddleTruncation = NSLineBreakByTruncatingMiddle;

// One line, however long.
CGSize sizeWithFont(const std::string& text, const UIFont& font);
// Wrapped to the width; only whole lines that fit in the height count (at least one).
CGSize sizeWithFont(const std::string& text, const UIFont& font, CGSize constrainedSize,
                    NSLineBreakMode lineBreakMode);
