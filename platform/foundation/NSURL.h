#pragma once
// A URL as a value. Made from a string that already is a valid URL (escape text first with
// stringByAddingPercentEscapesUsingEncoding), or from a file path.
#include <optional>
#include <string>

class NSURL {
public:
    // Absent for an empty string, or one holding what may not stand in a URL unescaped:
    // spaces, control characters, non-ASCII bytes, any of  " < > \ ^ ` { | } , a second "#",
    // or a "%" not followed by two hex digits. A string without a scheme is a relative URL.
    static std::optional<NSURL> URLWithString(const std::string& string);
    // "file://" and the path, escaped. Differs from the device: a relative path is taken
    // from the root, not from a current directory.
    static NSURL fileURLWithPath(const std::string& path);

    const std::string& absoluteString() const { return string_; }
    // "http", "file", ...; empty for a relative URL.
    const std::string& scheme() const { return scheme_; }
    // The host of "scheme://host/…" (without user or port); empty when there is none.
    const std::string& host() const { return host_; }
    // The path, percent-decoded, without a trailing "/" (except the root "/"); empty for a
    // URL without one ("mailto:…", "http://host").
    const std::string& path() const { return path_; }
    // The last component of path(): "b.caf" of "/a/b.caf", "/" of "/", empty when no path.
    std::string lastPathComponent() const;
    bool isFileURL() const;

    bool operator==(const NSURL& other) const { return string_ == other.string_; }

private:
    NSURL() = default;
    std::string string_;
    std::string scheme_;
    std::string host_;
    std::string path_;
};
