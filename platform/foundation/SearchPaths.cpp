#include "platform/foundation/SearchPaths.h"

namespace {

// Drops repeated and trailing slashes, keeping a lone "/".
std::string standardized(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (c == '/' && !out.empty() && out.back() == '/') {
            continue;
        }
        out.push_back(c);
    }
    if (out.size() > 1 && out.back() == '/') {
        out.pop_back();
    }
    return out;
}

} // namespace

std::vector<std::string> NSSearchPathForDirectoriesInDomains(NSSearchPathDirectory directory,
                                                             unsigned domainMask,
                                                             bool expandTilde) {
    if ((domainMask & NSUserDomainMask) == 0) {
        return {};
    }
    const char* relative = nullptr;
    switch (directory) {
    case NSDocumentDirectory:
        relative = "Documents";
        break;
    case NSLibraryDirectory:
        relative = "Library";
        break;
    case NSCachesDirectory:
        relative = "Library/Caches";
        break;
    }
    if (relative == nullptr) {
        return {};
    }
    return {std::string(expandTilde ? "/var/mobile/" : "~/") + relative};
}

std::string stringByAppendingPathComponent(const std::string& base, const std::string& component) {
    if (base.empty()) {
        return standardized(component);
    }
    if (component.empty()) {
        return standardized(base);
    }
    return standardized(base + "/" + component);
}

std::string lastPathComponent(const std::string& path) {
    const std::string clean = standardized(path);
    if (clean == "/") {
        return clean;
    }
    const size_t slash = clean.rfind('/');
    return slash == std::string::npos ? clean : clean.substr(slash + 1);
}

std::string stringByDeletingLastPathComponent(const std::string& path) {
    const std::string clean = standardized(path);
    const size_t slash = clean.rfind('/');
    if (slash == std::string::npos) {
        return "";
    }
    if (slash == 0) {
        return "/";
    }
    return clean.substr(0, slash);
}

std::string pathExtension(const std::string& path) {
    const std::string last = lastPathComponent(path);
    const size_t dot = last.rfind('.');
    if (dot == std::string::npos || dot == 0 || last == "/") {
        return "";
    }
    return last.substr(dot + 1);
}

std::string stringByDeletingPathExtension(const std::string& path) {
    const std::string clean = standardized(path);
    const std::string extension = pathExtension(clean);
    const std::string last = lastPathComponent(clean);
    if (extension.empty() && (last.empty() || last.back() != '.')) {
        return clean;
    }
    return clean.substr(0, clean.size() - extension.size() - 1);
}
