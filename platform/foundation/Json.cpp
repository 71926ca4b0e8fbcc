#include "platform/foundation/Json.h"

#include <simdjson.h>

#include <charconv>
#include <cmath>
#include <cstdio>

struct Json::Node {
    std::variant<std::monostate, bool, double, std::string, Items, Members> value;
};

namespace {

std::optional<Json> convert(simdjson::dom::element element) {
    using simdjson::dom::element_type;
    switch (element.type()) {
    case element_type::NULL_VALUE:
        return Json::null();
    case element_type::BOOL: {
        bool v = false;
        if (element.get(v)) {
            return std::nullopt;
        }
        return Json::boolean(v);
    }
    case element_type::INT64: {
        int64_t v = 0;
        if (element.get(v)) {
            return std::nullopt;
        }
        return Json::number(static_cast<double>(v));
    }
    case element_type::UINT64: {
        uint64_t v = 0;
        if (element.get(v)) {
            return std::nullopt;
        }
        return Json::number(static_cast<double>(v));
    }
    case element_type::DOUBLE: {
        double v = 0;
        if (element.get(v)) {
            return std::nullopt;
        }
        return Json::number(v);
    }
    case element_type::STRING: {
        std::string_view v;
        if (element.get(v)) {
            return std::nullopt;
        }
        return Json::string(std::string(v));
    }
    case element_type::ARRAY: {
        simdjson::dom::array array;
        if (element.get(array)) {
            return std::nullopt;
        }
        Json::Items items;
        items.reserve(array.size());
        for (simdjson::dom::element child : array) {
            auto item = convert(child);
            if (!item) {
                return std::nullopt;
            }
            items.push_back(std::move(*item));
        }
        return Json::array(std::move(items));
    }
    case element_type::OBJECT: {
        simdjson::dom::object object;
        if (element.get(object)) {
            return std::nullopt;
        }
        Json::Members members;
        members.reserve(object.size());
        for (simdjson::dom::key_value_pair field : object) {
            auto value = convert(field.value);
            if (!value) {
                return std::nullopt;
            }
            members.emplace_back(std::string(field.key), std::move(*value));
        }
        return Json::object(std::move(members));
    }
    }
    return std::nullopt;
}

// A decimal number as JSON writes one: -?digits(.digits)?([eE][+-]?digits)?
bool isDecimalText(std::string_view s) {
    size_t i = 0;
    auto digits = [&] {
        size_t start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            ++i;
        }
        return i > start;
    };
    if (i < s.size() && s[i] == '-') {
        ++i;
    }
    if (!digits()) {
        return false;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        if (!digits()) {
            return false;
        }
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            ++i;
        }
        if (!digits()) {
            return false;
        }
    }
    return i == s.size();
}

void appendEscaped(std::string& out, const std::string& s) {
    out += '"';
    for (char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                out += buf;
            } else {
                out += c; // UTF-8 stays as it is
            }
        }
    }
    out += '"';
}

void appendNumber(std::string& out, double v) {
    if (!std::isfinite(v)) {
        out += "null"; // JSON has no infinities or NaN
        return;
    }
    char buf[64];
    std::to_chars_result r;
    if (v == std::trunc(v) && std::fabs(v) < 1e15) {
        r = std::to_chars(buf, buf + sizeof buf, static_cast<int64_t>(v));
    } else {
        r = std::to_chars(buf, buf + sizeof buf, v);
    }
    out.append(buf, r.ptr);
}

} // namespace

Json::Json() = default;

std::optional<Json> Json::parse(std::string_view text) {
    // One parser per thread: decoding happens on the main thread and on network workers.
    thread_local simdjson::dom::parser parser;
    simdjson::padded_string padded(text);
    simdjson::dom::element root;
    if (parser.parse(padded).get(root)) {
        return std::nullopt;
    }
    return convert(root);
}

Json Json::boolean(bool v) {
    Json j;
    j.node_ = std::make_shared<const Node>(Node{v});
    return j;
}

Json Json::number(double v) {
    Json j;
    j.node_ = std::make_shared<const Node>(Node{v});
    return j;
}

Json Json::string(std::string v) {
    Json j;
    j.node_ = std::make_shared<const Node>(Node{std::move(v)});
    return j;
}

Json Json::array(Items items) {
    Json j;
    j.node_ = std::make_shared<const Node>(Node{std::move(items)});
    return j;
}

Json Json::object(Members members) {
    Json j;
    j.node_ = std::make_shared<const Node>(Node{std::move(members)});
    return j;
}

Json::Type Json::type() const {
    if (!node_) {
        return Type::Null;
    }
    return static_cast<Type>(node_->value.index());
}

std::optional<bool> Json::asBool() const {
    if (type() != Type::Bool) {
        return std::nullopt;
    }
    return std::get<bool>(node_->value);
}

std::optional<std::string> Json::asString() const {
    if (type() != Type::String) {
        return std::nullopt;
    }
    return std::get<std::string>(node_->value);
}

std::optional<double> Json::asNumber() const {
    if (type() == Type::Number) {
        return std::get<double>(node_->value);
    }
    if (type() != Type::String) {
        return std::nullopt;
    }
    const std::string& s = std::get<std::string>(node_->value);
    if (!isDecimalText(s)) {
        return std::nullopt;
    }
    double v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) {
        return std::nullopt;
    }
    return v;
}

std::optional<int64_t> Json::asInteger() const {
    auto v = asNumber();
    // 2^63 is exact in double; every double below it in magnitude truncates into int64.
    if (!v || !std::isfinite(*v) || *v >= 9223372036854775808.0 || *v < -9223372036854775808.0) {
        return std::nullopt;
    }
    return static_cast<int64_t>(std::trunc(*v));
}

const Json* Json::get(std::string_view key) const {
    if (type() != Type::Object) {
        return nullptr;
    }
    for (const auto& [k, v] : std::get<Members>(node_->value)) {
        if (k == key) {
            return &v;
        }
    }
    return nullptr;
}

const Json::Members& Json::members() const {
    static const Members empty;
    return type() == Type::Object ? std::get<Members>(node_->value) : empty;
}

const Json::Items& Json::items() const {
    static const Items empty;
    return type() == Type::Array ? std::get<Items>(node_->value) : empty;
}

namespace {
void appendJson(std::string& out, const Json& j) {
    switch (j.type()) {
    case Json::Type::Null:
        out += "null";
        break;
    case Json::Type::Bool:
        out += *j.asBool() ? "true" : "false";
        break;
    case Json::Type::Number:
        appendNumber(out, *j.asNumber());
        break;
    case Json::Type::String:
        appendEscaped(out, *j.asString());
        break;
    case Json::Type::Array: {
        out += '[';
        bool first = true;
        for (const auto& item : j.items()) {
            if (!first) {
                out += ',';
            }
            first = false;
            appendJson(out, item);
        }
        out += ']';
        break;
    }
    case Json::Type::Object: {
        out += '{';
        bool first = true;
        for (const auto& [key, value] : j.members()) {
            if (!first) {
                out += ',';
            }
            first = false;
            appendEscaped(out, key);
            out += ':';
            appendJson(out, value);
        }
        out += '}';
        break;
    }
    }
}
} // namespace

std::string Json::serialize() const {
    std::string out;
    appendJson(out, *this);
    return out;
}
