#pragma once
// Reader for the "key" = "value"; string tables that hold the app's translations.
#include <string>
#include <string_view>
#include <unordered_map>

class StringsFile {
public:
    using Table = std::unordered_map<std::string, std::string>;

    struct Result {
        Table entries;
        // False when the text stopped being a table somewhere; `entries` then holds what
        // came before the fault.
        bool complete = true;
    };

    // `bytes` is UTF-8, or UTF-16 with a byte-order mark. Understands /* */ and // comments,
    // the escapes \" \\ \n \t \r \' \uXXXX \UXXXX (surrogate pairs joined), bare-word keys
    // and values, and the short form "key"; meaning "key" = "key";.
    static Result parse(std::string_view bytes);
};
