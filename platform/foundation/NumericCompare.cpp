#include "platform/foundation/NumericCompare.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// UTF-16 units of a UTF-8 text; a byte that starts no valid sequence stands for itself, so
// broken text still orders consistently.
std::vector<uint16_t> utf16Units(std::string_view s) {
    std::vector<uint16_t> units;
    units.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        int length = b0 < 0x80           ? 1
                     : (b0 >> 5) == 0x6  ? 2
                     : (b0 >> 4) == 0xE  ? 3
                     : (b0 >> 3) == 0x1E ? 4
                                         : 0;
        uint32_t cp = length == 1   ? b0
                      : length == 2 ? (b0 & 0x1F)
                      : length == 3 ? (b0 & 0x0F)
                                    : (b0 & 0x07);
        bool valid = length > 0 && i + size_t(length) <= s.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto bk = static_cast<unsigned char>(s[i + size_t(k)]);
            valid = (bk & 0xC0) == 0x80;
            cp = (cp << 6) | (bk & 0x3F);
        }
        if (!valid) {
            units.push_back(b0);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units.push_back(uint16_t(0xD800 + (cp >> 10)));
            units.push_back(uint16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            units.push_back(uint16_t(cp));
        }
        i += size_t(length);
    }
    return units;
}

bool isDigit(uint16_t u) {
    return u >= '0' && u <= '9';
}

int sign(long long v) {
    return v < 0 ? -1 : v > 0 ? 1 : 0;
}

} // namespace

int compareNumeric(std::string_view a, std::string_view b) {
    const auto x = utf16Units(a);
    const auto y = utf16Units(b);
    size_t i = 0, j = 0;
    while (i < x.size() && j < y.size()) {
        if (isDigit(x[i]) && isDigit(y[j])) {
            // Compare the runs by value without converting them, so any length works:
            // drop leading zeros, then the longer run is larger, else the first differing digit.
            while (i < x.size() && x[i] == '0') {
                ++i;
            }
            while (j < y.size() && y[j] == '0') {
                ++j;
            }
            size_t ei = i, ej = j;
            while (ei < x.size() && isDigit(x[ei])) {
                ++ei;
            }
            while (ej < y.size() && isDigit(y[ej])) {
                ++ej;
            }
            if (ei - i != ej - j) {
                return ei - i < ej - j ? -1 : 1;
            }
            for (; i < ei; ++i, ++j) {
                if (x[i] != y[j]) {
                    return x[i] < y[j] ? -1 : 1;
                }
            }
            continue;
        }
        if (x[i] != y[j]) {
            return sign(static_cast<long long>(x[i]) - static_cast<long long>(y[j]));
        }
        ++i;
        ++j;
    }
    const bool xDone = i >= x.size();
    const bool yDone = j >= y.size();
    return xDone && yDone ? 0 : xDone ? -1 : 1;
}
