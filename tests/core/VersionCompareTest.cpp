#include "core/support/VersionCompare.h"

#include <gtest/gtest.h>

#include <compare>
#include <string>
#include <vector>

namespace pelliwig {
namespace {

struct Case {
    std::string a;
    std::string b;
    std::strong_ordering expected;
};

class VersionCompareTest : public testing::TestWithParam<Case> {};

TEST_P(VersionCompareTest, OrdersBothWays) {
    const auto& c = GetParam();
    EXPECT_EQ(compareVersions(c.a, c.b), c.expected) << c.a << " vs " << c.b;
    EXPECT_EQ(compareVersions(c.b, c.a), 0 <=> c.expected) << c.b << " vs " << c.a;
}

const auto less = std::strong_ordering::less;
const auto equal = std::strong_ordering::equal;
const auto greater = std::strong_ordering::greater;

const std::vector<Case> kCases{
    Case{"1.10.0", "1.9.3", greater},  // by value, not by text
    Case{"2.0", "2.0", equal},
    Case{"1.4.2", "1.4.10", less},
    Case{"10", "9", greater},
    Case{"1.0", "1.0.1", less},  // a prefix comes first
    Case{"0", "0.0.1", less},
    Case{"1.02", "1.2", equal},  // leading zeros carry no value
    Case{"007", "7", equal},
    Case{"1.9", "1.10", less},
    Case{"2.0", "10.0", less},
    Case{"", "0", less},
    Case{"1.2", "1.2a", less},
    Case{"1.2a", "1.2b", less},
    Case{"1.2-beta", "1.2.1", less},  // '-' sorts before '.'
    Case{"v2", "v10", less},
    Case{"99999999999999999999999", "99999999999999999999998", greater},
    Case{"1.123456789012345678901234567890", "1.2", greater},
};

INSTANTIATE_TEST_SUITE_P(Versions, VersionCompareTest, testing::ValuesIn(kCases));

}  // namespace
}  // namespace pelliwig
