#include "service/VersionOrder.h"

#include <gtest/gtest.h>

using chimora::service::VersionOrder;

namespace {

struct Case {
    const char* a;
    const char* b;
    int sign;
};

class VersionOrderTest : public ::testing::TestWithParam<Case> {};

TEST_P(VersionOrderTest, ComparesDigitRunsByValue) {
    const Case& c = GetParam();
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    EXPECT_EQ(sign(VersionOrder::compare(c.a, c.b)), c.sign) << c.a << " vs " << c.b;
    EXPECT_EQ(sign(VersionOrder::compare(c.b, c.a)), -c.sign) << c.b << " vs " << c.a;
}

INSTANTIATE_TEST_SUITE_P(
    Table, VersionOrderTest,
    ::testing::Values(Case{"1.10", "1.9", 1}, Case{"2.0", "1.9.9", 1}, Case{"1.10", "1.10", 0},
                      Case{"1.0.1", "1.0", 1}, Case{"1.01", "1.1", 0}, Case{"10", "9", 1},
                      Case{"1.2b", "1.2a", 1}, Case{"", "1", -1}, Case{"", "", 0},
                      Case{"99999999999999999999999", "99999999999999999999998", 1},
                      Case{"1.0", "1.0beta", -1}));

} // namespace
