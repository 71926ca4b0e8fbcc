#include "service/VersionOrder.h"

#include <cstddef>

namespace chimora::service {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

int VersionOrder::compare(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            // Compare digit runs by value without converting, so long runs cannot overflow.
            while (i < a.size() && a[i] == '0')
                ++i;
            while (j < b.size() && b[j] == '0')
                ++j;
            std::size_t si = i, sj = j;
            while (i < a.size() && isDigit(a[i]))
                ++i;
            while (j < b.size() && isDigit(b[j]))
                ++j;
            std::size_t la = i - si, lb = j - sj;
            if (la != lb)
                return la < lb ? -1 : 1;
            int c = a.substr(si, la).compare(b.substr(sj, lb));
            if (c != 0)
                return c < 0 ? -1 : 1;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

} // namespace chimora::service
