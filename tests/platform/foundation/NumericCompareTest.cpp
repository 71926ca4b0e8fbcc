#include "platform/foundation/NumericCompare.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const char* a;
    const char* b;
    int expected;
};

class NumericCompare : public testing::TestWithParam<Case> {};

TEST_P(NumericCompare, OrdersAsExpectedAndSymmetrically) {
    const Case& c = GetParam();
    EXPECT_EQ(compareNumeric(c.a, c.b), c.expected) << '"' << c.a << "\" vs \"" << c.b << '"';
    EXPECT_EQ(compareNumeric(c.b, c.a), -c.expected) << '"' << c.b << "\" vs \"" << c.a << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumericCompare,
    testing::Values(
        // Versions as an update check meets them.
        Case{"1.10", "1.9", 1}, Case{"2.0", "1.9.9", 1}, Case{"1.0", "1.0", 0},
        Case{"1.0", "1.0.1", -1}, Case{"1.2.3", "1.2.10", -1}, Case{"10", "9", 1},
        Case{"2", "10", -1},
        // Leading zeros: equal by value; a differing digit further on still decides.
        Case{"01", "1", 0}, Case{"v007", "v7", 0}, Case{"1.05", "1.5", 0}, Case{"1.05", "1.6", -1},
        // Runs longer than any integer type.
        Case{"123456789012345678901234567890", "123456789012345678901234567891", -1},
        Case{"99999999999999999999", "100000000000000000000", -1},
        // Other characters one by one; prefix first.
        Case{"", "", 0}, Case{"", "a", -1}, Case{"abc", "abd", -1}, Case{"a", "B", 1},
        Case{"a2", "a", 1}, Case{"1a", "1b", -1}, Case{"1.", "1a", -1},
        Case{"file9.caf", "file10.caf", -1},
        // Digits against other characters by their code unit ('.' < '0' < 'a').
        Case{"1.1", "11", -1}, Case{"a1", "aa", -1},
        // Code units, not bytes: U+FF01 sorts after a character outside the basic plane.
        Case{"\xEF\xBC\x81", "\xF0\x9F\x94\x94", 1},
        Case{"\xE4\xB8\xAD"
             "2",
             "\xE4\xB8\xAD"
             "10",
             -1}));

} // namespace
