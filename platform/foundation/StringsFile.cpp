#include "platform/foundation/StringsFile.h"

#include <cstdint>
#include <optional>

namespace {

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    auto unit = [&](size_t i) -> uint32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        appendUtf8(out, cp);
    }
    return out;
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    StringsFile::Result run() {
        StringsFile::Result result;
        while (true) {
            if (!skipSpace()) {
                result.complete = false;
                return result;
            }
            if (pos_ >= text_.size()) {
                return result;
            }
            auto key = token();
            if (!key || !skipSpace()) {
                result.complete = false;
                return result;
            }
            std::string value = *key;
            if (peek() == '=') {
                ++pos_;
                std::optional<std::string> parsed;
                if (!skipSpace() || !(parsed = token()) || !skipSpace()) {
                    result.complete = false;
                    return result;
                }
                value = std::move(*parsed);
            }
            if (peek() != ';') {
                result.complete = false;
                return result;
            }
            ++pos_;
            result.entries[*key] = std::move(value);
        }
    }

private:
    char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

    // Skips white space and comments; false on a comment that never ends.
    bool skipSpace() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                ++pos_;
            } else if (text_.substr(pos_, 2) == "/*") {
                const size_t end = text_.find("*/", pos_ + 2);
                if (end == std::string_view::npos) {
                    return false;
                }
                pos_ = end + 2;
            } else if (text_.substr(pos_, 2) == "//") {
                const size_t end = text_.find('\n', pos_);
                pos_ = end == std::string_view::npos ? text_.size() : end + 1;
            } else {
                return true;
            }
        }
        return true;
    }

    std::optional<std::string> token() {
        if (peek() == '"') {
            return quoted();
        }
        std::string word;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                               (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '$' ||
                               c == ':' || c == '/' || c == '-';
            if (!plain) {
                break;
            }
            word.push_back(c);
            ++pos_;
        }
        if (word.empty()) {
            return std::nullopt;
        }
        return word;
    }

    std::optional<uint32_t> hex4() {
        if (pos_ + 4 > text_.size()) {
            return std::nullopt;
        }
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[pos_++];
            value <<= 4;
            if (c >= '0' && c <= '9') {
                value |= static_cast<uint32_t>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                value |= static_cast<uint32_t>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                value |= static_cast<uint32_t>(c - 'A' + 10);
            } else {
                return std::nullopt;
            }
        }
        return value;
    }

    std::optional<std::string> quoted() {
        ++pos_; // opening quote
        std::string out;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') {
                return out;
            }
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (pos_ >= text_.size()) {
                return std::nullopt;
            }
            const char e = text_[pos_++];
            switch (e) {
            case 'n':
                out.push_back('\n');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 'u':
            case 'U': {
                auto cp = hex4();
                if (!cp) {
                    return std::nullopt;
                }
                const std::string_view next = text_.substr(pos_, 2);
                if (*cp >= 0xD800 && *cp <= 0xDBFF && (next == "\\U" || next == "\\u")) {
                    const size_t save = pos_;
                    pos_ += 2;
                    auto low = hex4();
                    if (low && *low >= 0xDC00 && *low <= 0xDFFF) {
                        *cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
                    } else {
                        pos_ = save;
                    }
                }
                appendUtf8(out, *cp);
                break;
            }
            default:
                // \" \\ \' and anything unknown stand for the character itself.
                out.push_back(e);
                break;
            }
        }
        return std::nullopt;
    }

    std::string_view text_;
    size_t pos_ = 0;
};

} // namespace

StringsFile::Result StringsFile::parse(std::string_view bytes) {
    std::string decoded;
    std::string_view text = bytes;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
        static_cast<unsigned char>(bytes[1]) == 0xFF) {
        decoded = utf16ToUtf8(bytes.substr(2), true);
        text = decoded;
    } else if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
               static_cast<unsigned char>(bytes[1]) == 0xFE) {
        decoded = utf16ToUtf8(bytes.substr(2), false);
        text = decoded;
    } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        text = bytes.substr(3);
    }
    return Parser(text).run();
}
