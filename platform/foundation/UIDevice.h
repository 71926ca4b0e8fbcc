#pragma once
// The device's own description. Lives with the foundation pieces because it only answers
// what the host says; the rest of UIKit builds on it.
#include <memory>
#include <string>
#include <string_view>

class UIDevice {
public:
    static std::shared_ptr<UIDevice> currentDevice();

    std::string systemVersion() const;
    // The version read as a number the way the platform's floatValue reads a string.
    float systemVersionFloat() const { return floatValue(systemVersion()); }

    // Leading white space skipped, then the longest decimal prefix: "8.1.2" → 8.1,
    // "7" → 7, "abc" → 0.
    static float floatValue(std::string_view text);
};
