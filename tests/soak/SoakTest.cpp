// A short stretch of the soak: two weeks of her life through the real engine
// on a real file, with every check the long runs make (make soak runs a year;
// two weeks keep the sanitizer build's run under a minute).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "SoakRun.h"

namespace pelliwig::soak {
namespace {

class SoakTest : public ::testing::TestWithParam<unsigned long long> {};

TEST_P(SoakTest, DaysPassWithEveryCheckHolding) {
    const auto store = std::filesystem::temp_directory_path() /
                       ("pelliwig-soak-test-" + std::to_string(::getpid()) + ".sqlite");
    SoakOptions options;
    options.seed = GetParam();
    options.days = 14;
    options.store = store;
    const SoakFigures figures = SoakRun(options).run();
    std::filesystem::remove(store);

    EXPECT_EQ(figures.days, options.days);
    EXPECT_TRUE(figures.problems.empty()) << ::testing::PrintToString(figures.problems);
    // The run did what it is for: she spoke, was answered and restarted.
    EXPECT_GT(figures.shown, options.days);
    EXPECT_GT(figures.answers, 0);
    EXPECT_GT(figures.restarts, 0);
    EXPECT_GT(figures.largestFiredLog, 0u);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SoakTest, ::testing::Values(3ULL));

}  // namespace
}  // namespace pelliwig::soak
