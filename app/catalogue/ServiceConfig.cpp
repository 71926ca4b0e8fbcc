#include "app/catalogue/ServiceConfig.h"

#include "BuildConfig.h"

#include <cstdlib>

std::string ServiceConfig::baseURL() {
    const char* fromDevice = std::getenv("CHIMORA_BASE_URL");
    std::string url = fromDevice && *fromDevice ? fromDevice : BuildConfig::kServiceBaseURL;
    // Request paths are appended as they stand.
    if (url.empty() || url.back() != '/') {
        url += '/';
    }
    return url;
}
