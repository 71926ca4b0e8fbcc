#pragma once
// An immutable JSON value. Decoding never throws: malformed text answers no value.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

class Json {
public:
    enum class Type { Null, Bool, Number, String, Array, Object };
    using Members = std::vector<std::pair<std::string, Json>>;
    using Items = std::vector<Json>;

    Json(); // null
    static std::optional<Json> parse(std::string_view text);

    static Json null() { return Json(); }
    static Json boolean(bool v);
    static Json number(double v);
    static Json string(std::string v);
    static Json array(Items items);
    static Json object(Members members);

    Type type() const;
    bool isNull() const { return type() == Type::Null; }
    bool isObject() const { return type() == Type::Object; }
    bool isArray() const { return type() == Type::Array; }
    bool isString() const { return type() == Type::String; }
    bool isNumber() const { return type() == Type::Number; }
    bool isBool() const { return type() == Type::Bool; }

    // Typed reads answer nothing when the value has another type.
    std::optional<bool> asBool() const;
    std::optional<std::string> asString() const;
    // Numbers, and strings that hold a whole number/decimal ("12", " 3.5" is not), by value.
    std::optional<double> asNumber() const;
    // asNumber() truncated toward zero when it fits in 64 bits.
    std::optional<int64_t> asInteger() const;

    // Object member by key (first match), or nullptr when absent or not an object.
    const Json* get(std::string_view key) const;
    const Members& members() const; // empty unless an object
    const Items& items() const;     // empty unless an array

    // Compact serialisation (for tests, caches and the dump).
    std::string serialize() const;

private:
    struct Node;
    std::shared_ptr<const Node> node_;
};
