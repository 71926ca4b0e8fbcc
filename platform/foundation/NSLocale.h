#pragma once
#include <string>
#include <vector>

class NSLocale {
public:
    // The user's languages, most preferred first ("zh-Hans", "en", ...).
    static std::vector<std::string> preferredLanguages();
};
