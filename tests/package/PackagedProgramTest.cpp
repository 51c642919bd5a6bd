// The Debian package, unpacked into a scratch root as dpkg would install it:
// every file where a desktop looks for it, and the installed program, run
// from there on a private X server, speaks when asked. The root is removed
// afterwards.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/ProgramHome.h"
#include "support/XvfbServer.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using namespace pelliwig::testing;
using namespace std::chrono_literals;

fs::path package() {
    for (const auto& entry : fs::directory_iterator(PELLIWIG_PACKAGE_DIR)) {
        if (entry.path().extension() == ".deb") return entry.path();
    }
    return {};
}

std::string output(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string text;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
    ::pclose(pipe);
    return text;
}

class PackagedProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (deb.empty()) GTEST_SKIP() << "no package in " << PELLIWIG_PACKAGE_DIR;
        if (findProgram("dpkg").empty()) GTEST_SKIP() << "dpkg is not installed";
        fs::create_directories(root);
        ASSERT_EQ(ChildProcess::run({"dpkg", "-x", deb.string(), root.string()}, {}, 60s), 0);
    }
    fs::path installed(const std::string& path) const { return root / path; }

    std::vector<std::string> env(const XvfbServer& server) const {
        auto vars = server.env();
        vars.push_back("QT_QPA_PLATFORM=xcb");
        const auto own = home.env();
        vars.insert(vars.end(), own.begin(), own.end());
        return vars;
    }

    const fs::path deb = package();
    // The package is unpacked inside her scratch home.
    const ProgramHome home{"package"};
    const fs::path root = home / "root";
};

TEST_F(PackagedProgramTest, InstallsWhereDesktopsLook) {
    const std::vector<std::string> files{
        "usr/bin/pelliwig",
        "usr/bin/pelliwig-sim",
        "usr/libexec/pelliwig/pelliwig-fetch",
        "usr/share/pelliwig/portraits/zuzi.png",
        "usr/share/pelliwig/portraits/mom-winter.png",
        "usr/share/pelliwig/icons/pelliwig.png",
        "usr/share/applications/pelliwig.desktop",
        "usr/share/metainfo/app.pelliwig.Pelliwig.metainfo.xml",
        "usr/share/icons/hicolor/scalable/apps/pelliwig.svg",
        "usr/share/icons/hicolor/16x16/apps/pelliwig.png",
        "usr/share/icons/hicolor/48x48/apps/pelliwig.png",
        "usr/share/icons/hicolor/512x512/apps/pelliwig.png",
        "usr/share/man/man1/pelliwig.1.gz",
        "usr/share/man/man1/pelliwig-sim.1.gz",
        "usr/share/doc/pelliwig/copyright",
        "usr/share/doc/pelliwig/changelog.gz",
    };
    for (const auto& file : files) EXPECT_TRUE(fs::is_regular_file(installed(file))) << file;
    EXPECT_EQ(output(installed("usr/bin/pelliwig").string() + " --version"),
              "pelliwig " PELLIWIG_VERSION "\n");
    // Nothing lands outside /usr.
    for (const auto& entry : fs::directory_iterator(root)) {
        EXPECT_EQ(entry.path().filename(), "usr");
    }
}

TEST_F(PackagedProgramTest, InstalledProgramSpeaks) {
    XvfbServer server;
    if (!server.ok()) GTEST_SKIP() << server.why();
    OpenboxSession wm{server};
    if (!wm.ok()) GTEST_SKIP() << wm.why();
    if (findProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
    const auto visible = [&server](const std::string& pattern) {
        return server.xdotool({"search", "--onlyvisible", "--name", pattern});
    };

    auto app = ChildProcess::start({installed("usr/bin/pelliwig").string(), "--preview", "water"},
                                   env(server));
    ASSERT_TRUE(app);
    // She slides out of the top of the screen with her water line.
    EXPECT_TRUE(waitUntil([&] { return visible("^Pelliwig$"); }, 20s))
        << "the installed program never showed her";
    EXPECT_TRUE(app->running());
}

}  // namespace
}  // namespace pelliwig
