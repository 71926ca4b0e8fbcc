#include "platform/net/MediaType.h"

#include <cctype>

namespace MediaType {

std::string essence(std::string_view contentType) {
    std::string_view s = contentType.substr(0, contentType.find(';'));
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) {
        s.remove_prefix(1);
    }
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) {
        s.remove_suffix(1);
    }
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    return out;
}

} // namespace MediaType
