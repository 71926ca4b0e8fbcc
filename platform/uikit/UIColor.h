#pragma once
// A colour value; components in 0..1. The platform's CGColor is the same value here.
#include <memory>

struct UIColor {
    double red = 0, green = 0, blue = 0, alpha = 0;
    bool operator==(const UIColor&) const = default;

    static UIColor colorWithRed(double r, double g, double b, double a) { return {r, g, b, a}; }
    static UIColor colorWithWhite(double w, double a) { return {w, w, w, a}; }
    static UIColor clearColor() { return {0, 0, 0, 0}; }
    static UIColor blackColor() { return {0, 0, 0, 1}; }
    static UIColor whiteColor() { return {1, 1, 1, 1}; }
    static UIColor redColor() { return {1, 0, 0, 1}; }
    static UIColor grayColor() { return {0.5, 0.5, 0.5, 1}; }
    static UIColor lightGrayColor() { return {2.0 / 3, 2.0 / 3, 2.0 / 3, 1}; }
    static UIColor darkGrayColor() { return {1.0 / 3, 1.0 / 3, 1.0 / 3, 1}; }
    static UIColor blueColor() { return {0, 0, 1, 1}; }
    static UIColor greenColor() { return {0, 1, 0, 1}; }
    UIColor CGColor() const { return *this; }
    UIColor colorWithAlphaComponent(double a) const { return {red, green, blue, a}; }
};
