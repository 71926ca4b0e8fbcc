#include "platform/foundation/UIDevice.h"

#include "platform/foundation/DeviceHost.h"

#include <cstdlib>

std::shared_ptr<UIDevice> UIDevice::currentDevice() {
    static const auto device = std::make_shared<UIDevice>();
    return device;
}

std::string UIDevice::systemVersion() const {
    return platform::deviceHost().settings().systemVersion;
}

float UIDevice::floatValue(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' ||
                                 text[pos] == '\r' || text[pos] == '\f' || text[pos] == '\v')) {
        ++pos;
    }
    // Copy only sign, digits, one point and an exponent, so strtof never sees "inf", "nan"
    // or hexadecimal forms the platform would not read.
    std::string number;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        number.push_back(text[pos++]);
    }
    bool point = false;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c >= '0' && c <= '9') {
            number.push_back(c);
        } else if (c == '.' && !point) {
            point = true;
            number.push_back(c);
        } else {
            break;
        }
        ++pos;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        size_t exp = pos + 1;
        std::string tail = "e";
        if (exp < text.size() && (text[exp] == '+' || text[exp] == '-')) {
            tail.push_back(text[exp++]);
        }
        if (exp < text.size() && text[exp] >= '0' && text[exp] <= '9') {
            while (exp < text.size() && text[exp] >= '0' && text[exp] <= '9') {
                tail.push_back(text[exp++]);
            }
            number += tail;
        }
    }
    if (number.empty()) {
        return 0.0f;
    }
    // strtof stops at the first character it cannot use ("." alone gives 0).
    return std::strtof(number.c_str(), nullptr);
}
