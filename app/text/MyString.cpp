#include "app/text/MyString.h"

#include "platform/foundation/StringLanguage.h"
#include "platform/uikit/NSStringDrawing.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// One character of a UTF-8 text: where its bytes are and how it compares.
struct Char {
    char32_t code;
    size_t byteBegin;
    size_t byteEnd;
};

// Splits UTF-8 into characters; a malformed byte stands alone as U+FFFD.
std::vector<Char> decode(const std::string& text) {
    std::vector<Char> out;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80                   ? 1
                        : lead >= 0xF0 && lead < 0xF5 ? 4
                        : lead >= 0xE0                ? 3
                        : lead >= 0xC2 && lead < 0xE0 ? 2
                                                      : 0;
        char32_t code = length == 1   ? lead
                        : length == 2 ? lead & 0x1F
                        : length == 3 ? lead & 0x0F
                                      : lead & 0x07;
        for (size_t k = 1; k < length; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                length = 0;
                break;
            }
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (length == 0) {
            out.push_back({0xFFFD, i, i + 1});
            ++i;
            continue;
        }
        out.push_back({code, i, i + length});
        i += length;
    }
    return out;
}

size_t utf16Length(char32_t code) {
    return code > 0xFFFF ? 2 : 1;
}

char32_t foldASCII(char32_t code) {
    return code >= U'A' && code <= U'Z' ? code + (U'a' - U'A') : code;
}

bool sameChar(char32_t a, char32_t b, unsigned options) {
    return (options & NSCaseInsensitiveSearch) ? foldASCII(a) == foldASCII(b) : a == b;
}

// UTF-16 position of the match of `needle` in `haystack` under `options`, or NSNotFound.
unsigned rangeOfString(const std::string& haystack, const std::string& needle, unsigned options) {
    const auto hay = decode(haystack);
    const auto pin = decode(needle);
    if (pin.empty() || pin.size() > hay.size()) {
        return NSNotFound;
    }
    auto matchesAt = [&](size_t start) {
        for (size_t k = 0; k < pin.size(); ++k) {
            if (!sameChar(hay[start + k].code, pin[k].code, options)) {
                return false;
            }
        }
        return true;
    };
    const size_t last = hay.size() - pin.size();
    const bool backwards = (options & NSBackwardsSearch) != 0;
    const bool anchored = (options & NSAnchoredSearch) != 0;
    std::optional<size_t> found;
    if (backwards) {
        // Anchored backwards means at the end.
        for (size_t s = last + 1; s-- > 0;) {
            if (matchesAt(s)) {
                found = s;
                break;
            }
            if (anchored) {
                break;
            }
        }
    } else {
        for (size_t s = 0; s <= last; ++s) {
            if (matchesAt(s)) {
                found = s;
                break;
            }
            if (anchored) {
                break;
            }
        }
    }
    if (!found) {
        return NSNotFound;
    }
    size_t position = 0;
    for (size_t k = 0; k < *found; ++k) {
        position += utf16Length(hay[k].code);
    }
    return static_cast<unsigned>(position);
}

} // namespace

namespace MyString {

unsigned indexOfChar(const std::string& self, char c, unsigned options) {
    if (static_cast<unsigned char>(c) >= 0x80) {
        return NSNotFound;
    }
    return rangeOfString(self, std::string(1, c), options);
}

bool containsString(const std::string& self, const std::string& text, unsigned options) {
    return rangeOfString(self, text, options) != NSNotFound;
}

bool containsString(const std::string& self, const std::string& text) {
    return containsString(self, text, 0);
}

bool isCaseInsensitiveEqualToString(const std::string& self, const std::string& text) {
    const auto a = decode(self);
    const auto b = decode(text);
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t k = 0; k < a.size(); ++k) {
        if (!sameChar(a[k].code, b[k].code, NSCaseInsensitiveSearch)) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> stringReducedToWidth(const std::string& self, float width,
                                                const UIFont& font) {
    if (sizeWithFont(self, font).width <= width) {
        return self;
    }
    // Grows by whole characters: UTF-8 cannot hold half of a surrogate pair.
    const auto chars = decode(self);
    for (size_t count = 1; count <= chars.size(); ++count) {
        const std::string part = self.substr(0, chars[count - 1].byteEnd);
        if (sizeWithFont(part, font).width > width) {
            if (count == 1) {
                return std::nullopt;
            }
            return self.substr(0, chars[count - 2].byteEnd);
        }
    }
    return self;
}

bool isChineseOrJapanese(const std::string& self) {
    const auto chars = decode(self);
    size_t units = 0;
    size_t bytes = 0;
    for (const Char& ch : chars) {
        units += utf16Length(ch.code);
        if (units > 100) {
            break;
        }
        bytes = ch.byteEnd;
    }
    const auto language = bestStringLanguage(std::string_view(self).substr(0, bytes));
    if (!language) {
        return false;
    }
    return isCaseInsensitiveEqualToString(*language, "zh-Hans") ||
           isCaseInsensitiveEqualToString(*language, "zh-Hant") ||
           isCaseInsensitiveEqualToString(*language, "ja");
}

} // namespace MyString
