#pragma once
// A font request: the system font (WenQuanYi Micro Hei at render time) at a size in points.
struct UIFont {
    double pointSize = 17;
    bool bold = false;
    bool italic = false;
    bool operator==(const UIFont&) const = default;

    static UIFont systemFontOfSize(double size) { return {size, false, false}; }
    static UIFont boldSystemFontOfSize(double size) { return {size, true, false}; }
    static UIFont italicSystemFontOfSize(double size) { return {size, false, true}; }
    double lineHeight() const; // measured through the text layer
};
