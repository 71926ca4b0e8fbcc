#pragma once
#include <algorithm>

using CGFloat = double;

struct CGPoint {
    CGFloat x = 0, y = 0;
    bool operator==(const CGPoint&) const = default;
};
struct CGSize {
    CGFloat width = 0, height = 0;
    bool operator==(const CGSize&) const = default;
};
struct CGRect {
    CGPoint origin;
    CGSize size;
    bool operator==(const CGRect&) const = default;
    CGFloat minX() const { return origin.x; }
    CGFloat minY() const { return origin.y; }
    CGFloat maxX() const { return origin.x + size.width; }
    CGFloat maxY() const { return origin.y + size.height; }
    CGFloat midX() const { return origin.x + size.width / 2; }
    CGFloat midY() const { return origin.y + size.height / 2; }
};
struct UIEdgeInsets {
    CGFloat top = 0, left = 0, bottom = 0, right = 0;
    bool operator==(const UIEdgeInsets&) const = default;
};

inline CGPoint CGPointMake(CGFloat x, CGFloat y) {
    return {x, y};
}
inline CGSize CGSizeMake(CGFloat w, CGFloat h) {
    return {w, h};
}
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat w, CGFloat h) {
    return {{x, y}, {w, h}};
}
inline UIEdgeInsets UIEdgeInsetsMake(CGFloat t, CGFloat l, CGFloat b, CGFloat r) {
    return {t, l, b, r};
}
inline constexpr CGRect CGRectZero{};
inline CGRect CGRectOffset(CGRect r, CGFloat dx, CGFloat dy) {
    r.origin.x += dx;
    r.origin.y += dy;
    return r;
}
// Edges count as inside on the min side only, like the platform.
inline bool CGRectContainsPoint(const CGRect& r, CGPoint p) {
    return p.x >= r.minX() && p.x < r.maxX() && p.y >= r.minY() && p.y < r.maxY();
}
inline CGRect UIEdgeInsetsInsetRect(CGRect r, UIEdgeInsets i) {
    return CGRectMake(r.origin.x + i.left, r.origin.y + i.top, r.size.width - i.left - i.right,
                      r.size.height - i.top - i.bottom);
}
inline CGFloat CGRectGetMaxY(const CGRect& r) {
    return r.maxY();
}
inline CGFloat CGRectGetMaxX(const CGRect& r) {
    return r.maxX();
}
inline CGFloat CGRectGetWidth(const CGRect& r) {
    return r.size.width;
}
inline CGFloat CGRectGetHeight(const CGRect& r) {
    return r.size.height;
}
