#pragma once

// Small helpers shared by the service tests: a client on the test catalogue and JSON decoding.

#include <httplib.h>
#include <simdjson.h>

#include <fstream>
#include <iterator>
#include <string>

namespace chimora::service::testing {

inline httplib::Client clientFor(int port) {
    httplib::Client c("127.0.0.1", port);
    c.set_connection_timeout(5);
    c.set_read_timeout(10);
    return c;
}

// A parsed JSON document that owns its parser, so elements stay valid while it lives.
struct JsonDoc {
    simdjson::dom::parser parser;
    simdjson::dom::element root;
    bool ok = false;
    explicit JsonDoc(const std::string& text) {
        auto r = parser.parse(text);
        ok = !r.error();
        if (ok)
            root = r.value();
    }
};

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace chimora::service::testing
