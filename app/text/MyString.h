#pragma once
// Searching, comparing, fitting and language-guessing of strings. The receiver comes first;
// positions and lengths count UTF-16 units, as the device's strings do.
#include "platform/uikit/UIFont.h"

#include <optional>
#include <string>

// Comparison options of the device's string search. Only these are understood; the
// search is always literal (no canonical equivalence), and case folding covers ASCII.
enum NSStringCompareOptions : unsigned {
    NSCaseInsensitiveSearch = 1,
    NSLiteralSearch = 2,
    NSBackwardsSearch = 4,
    NSAnchoredSearch = 8,
};
// The device's "not found" position (a 32-bit NSIntegerMax).
inline constexpr unsigned NSNotFound = 2147483647u;

namespace MyString {

// Position of the character `c`, or NSNotFound (also for a byte that is not ASCII).
unsigned indexOfChar(const std::string& self, char c, unsigned options);
// An empty `text` is never found.
bool containsString(const std::string& self, const std::string& text, unsigned options);
bool containsString(const std::string& self, const std::string& text);
bool isCaseInsensitiveEqualToString(const std::string& self, const std::string& text);

// The longest leading part of `self` that fits in `width` on one line in `font` (`self`
// when it all fits); absent when not even the first character fits. No ellipsis.
std::optional<std::string> stringReducedToWidth(const std::string& self, float width,
                                                const UIFont& font);

// The language guess over the first 100 UTF-16 units is Chinese (either script) or Japanese.
bool isChineseOrJapanese(const std::string& self);

} // namespace MyString
