#include "platform/foundation/NSURL.h"

#include "platform/foundation/PercentEscapes.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

bool isHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool mayStandInURL(const std::string& s) {
    int hashes = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c <= 0x20 || c >= 0x7F || std::strchr("\"<>\\^`{|}", c) != nullptr) {
            return false;
        }
        if (c == '#' && ++hashes > 1) {
            return false;
        }
        if (c == '%' && (i + 2 >= s.size() || !isHex(s[i + 1]) || !isHex(s[i + 2]))) {
            return false;
        }
    }
    return true;
}

// The scheme's length, or 0 when the string does not begin with "scheme:".
size_t schemeLength(const std::string& s) {
    if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0]))) {
        return 0;
    }
    for (size_t i = 1; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == ':') {
            return i;
        }
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') {
            return 0;
        }
    }
    return 0;
}

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string hostOf(const std::string& authority) {
    std::string host = authority;
    if (auto at = host.rfind('@'); at != std::string::npos) {
        host.erase(0, at + 1);
    }
    if (!host.empty() && host.front() == '[') {
        auto close = host.find(']');
        return close == std::string::npos ? host : host.substr(0, close + 1);
    }
    if (auto colon = host.find(':'); colon != std::string::npos) {
        host.erase(colon);
    }
    return host;
}

} // namespace

std::optional<NSURL> NSURL::URLWithString(const std::string& string) {
    if (string.empty() || !mayStandInURL(string)) {
        return std::nullopt;
    }
    NSURL url;
    url.string_ = string;
    size_t pos = 0;
    if (size_t n = schemeLength(string)) {
        url.scheme_ = string.substr(0, n);
        pos = n + 1;
    }
    const size_t end = std::min(string.find('?', pos), string.find('#', pos));
    std::string rest = string.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    if (rest.rfind("//", 0) == 0) {
        const size_t slash = rest.find('/', 2);
        url.host_ =
            hostOf(rest.substr(2, slash == std::string::npos ? std::string::npos : slash - 2));
        rest = slash == std::string::npos ? std::string() : rest.substr(slash);
    } else if (!url.scheme_.empty() && (rest.empty() || rest.front() != '/')) {
        rest.clear(); // "mailto:…" has no path
    }
    if (!rest.empty()) {
        url.path_ =
            withoutTrailingSlash(stringByReplacingPercentEscapesUsingEncoding(rest).value_or(rest));
    }
    return url;
}

NSURL NSURL::fileURLWithPath(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    NSURL url;
    url.scheme_ = "file";
    url.path_ = withoutTrailingSlash(path.empty() || path.front() != '/' ? "/" + path : path);
    std::string escaped;
    for (char ch : url.path_) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) || (c != 0 && std::strchr("-._~!$&'()*+,;=:@/", c) != nullptr)) {
            escaped += ch;
        } else {
            escaped += '%';
            escaped += kHex[c >> 4];
            escaped += kHex[c & 0xF];
        }
    }
    url.string_ = "file://" + escaped;
    return url;
}

std::string NSURL::lastPathComponent() const {
    if (path_.empty() || path_ == "/") {
        return path_;
    }
    const size_t slash = path_.rfind('/');
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

bool NSURL::isFileURL() const {
    if (scheme_.size() != 4) {
        return false;
    }
    for (size_t i = 0; i < 4; ++i) {
        if (std::tolower(static_cast<unsigned char>(scheme_[i])) != "file"[i]) {
            return false;
        }
    }
    return true;
}
