#pragma once
// Points the app at a test server the way the host does for --base-url, for one scope.
#include <cstdlib>
#include <string>

class ScopedBaseURL {
public:
    explicit ScopedBaseURL(const std::string& url) { ::setenv("CHIMORA_BASE_URL", url.c_str(), 1); }
    ~ScopedBaseURL() { ::unsetenv("CHIMORA_BASE_URL"); }
    ScopedBaseURL(const ScopedBaseURL&) = delete;
    ScopedBaseURL& operator=(const ScopedBaseURL&) = delete;
};
