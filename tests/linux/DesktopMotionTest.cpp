#include "linux/DesktopMotion.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "support/ChildProcess.h"
#include "support/QtCoreApplication.h"
#include "support/ScratchFolder.h"

namespace pelliwig {
namespace {

const auto* const qt = ::testing::AddGlobalTestEnvironment(new testing::QtCoreApplication);

struct KdeCase {
    std::string name;
    std::string text;
    std::optional<bool> reduces;
};

class KdeGlobalsTest : public ::testing::TestWithParam<KdeCase> {};

TEST_P(KdeGlobalsTest, FactorZeroAsksForStillness) {
    std::istringstream in(GetParam().text);
    EXPECT_EQ(DesktopMotion::kdeReduces(in), GetParam().reduces);
}

INSTANTIATE_TEST_SUITE_P(
    Files, KdeGlobalsTest,
    ::testing::Values(
        KdeCase{"Instant", "[KDE]\nAnimationDurationFactor=0\n", true},
        KdeCase{"Slower", "[KDE]\nAnimationDurationFactor=2\n", false},
        KdeCase{"Faster", "[General]\nfont=x\n[KDE]\nAnimationDurationFactor=0.25\n", false},
        KdeCase{"Spaced", "[KDE]\n  AnimationDurationFactor = 0 \r\n", true},
        KdeCase{"Immutable", "[KDE]\nAnimationDurationFactor[$i]=0\n", true},
        KdeCase{"OtherGroup", "[General]\nAnimationDurationFactor=0\n", std::nullopt},
        KdeCase{"NotANumber", "[KDE]\nAnimationDurationFactor=off\n", std::nullopt},
        KdeCase{"LastWins", "[KDE]\nAnimationDurationFactor=0\n[KDE]\nAnimationDurationFactor=1\n",
                false},
        KdeCase{"LongerKey", "[KDE]\nAnimationDurationFactorX=0\n", std::nullopt},
        KdeCase{"Empty", "", std::nullopt}),
    [](const auto& row) { return row.param.name; });

void write(const std::filesystem::path& path, const std::string& text) {
    // As KDE writes it: a new file renamed over the old one.
    const auto fresh = path.string() + ".new";
    std::ofstream(fresh) << text;
    std::filesystem::rename(fresh, path);
}

bool becomes(const DesktopMotion& motion, bool reduced) {
    return testing::waitUntil(
        [&] {
            QCoreApplication::processEvents();
            return motion.reduced() == reduced;
        },
        std::chrono::seconds(5));
}

// Changing "Animation speed" in System Settings reaches her while she runs,
// also when the file did not exist at her start.
TEST(DesktopMotionTest, FollowsTheFileAsKdeRewritesIt) {
    testing::ScratchFolder folder;
    const auto file = folder.path() / "kdeglobals";
    DesktopMotion motion(file);
    EXPECT_FALSE(motion.reduced());
    write(file, "[KDE]\nAnimationDurationFactor=0\n");
    EXPECT_TRUE(becomes(motion, true));
    write(file, "[KDE]\nAnimationDurationFactor=1\n");
    EXPECT_TRUE(becomes(motion, false));
    write(file, "[KDE]\nAnimationDurationFactor=0\n");
    EXPECT_TRUE(becomes(motion, true));
    std::filesystem::remove(file);
    EXPECT_TRUE(becomes(motion, false));
}

}  // namespace
}  // namespace pelliwig
