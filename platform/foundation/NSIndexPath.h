#pragma once
// A table position: a row within a section.
#include <compare>
#include <cstddef>
#include <functional>

class NSIndexPath {
public:
    NSIndexPath() = default;
    static NSIndexPath indexPathForRow(int row, int section) { return NSIndexPath(row, section); }

    int row() const { return row_; }
    int section() const { return section_; }

    // By section, then row, as the device compares them.
    std::strong_ordering operator<=>(const NSIndexPath& other) const {
        if (auto c = section_ <=> other.section_; c != 0) {
            return c;
        }
        return row_ <=> other.row_;
    }
    bool operator==(const NSIndexPath& other) const = default;

private:
    NSIndexPath(int row, int section) : row_(row), section_(section) {}
    int row_ = 0;
    int section_ = 0;
};

template <> struct std::hash<NSIndexPath> {
    size_t operator()(const NSIndexPath& p) const noexcept {
        const unsigned long long key =
            (static_cast<unsigned long long>(static_cast<unsigned>(p.section())) << 32) |
            static_cast<unsigned>(p.row());
        return std::hash<unsigned long long>()(key);
    }
};
