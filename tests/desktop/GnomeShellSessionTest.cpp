// The real program in GNOME Shell 43 on Wayland, where she is an XWayland
// client over native Wayland windows, the shell shows other programs the
// pointer only over their own windows, and there is no tray: at 100 % and
// 200 %, she speaks above a full-screen terminal, the pointer at the top
// centre brings her out, and a right click on her opens her menu.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>
#include <QRect>

#include "support/ChildProcess.h"
#include "support/GnomeShellSession.h"
#include "support/HoverBound.h"
#include "support/ProgramHome.h"
#include "support/ProgramPath.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;
using namespace pelliwig::testing;
using namespace std::chrono_literals;

fs::path testFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path();
}
// The terminal's background, a colour none of her art has.
const QColor kTerminal(0x20, 0x60, 0x30);
// GNOME's top bar, in logical pixels: her area starts below it.
constexpr int kTopBar = 32;

struct ScaleCase {
    const char* name;
    int scale;
};

void PrintTo(const ScaleCase& scale, std::ostream* out) {
    *out << scale.name;
}

// One shell per scale for the whole test program, with a full-screen foot in
// it: starting GNOME takes seconds.
struct Desktop {
    std::unique_ptr<GnomeShellSession> gnome;
    std::string why;
};

std::map<int, Desktop>& desktops() {
    static std::map<int, Desktop> all;
    return all;
}

Desktop& desktopAt(int scale) {
    auto& desktop = desktops()[scale];
    if (desktop.gnome || !desktop.why.empty()) return desktop;
    if (findProgram("foot").empty()) {
        desktop.why = "foot is not installed";
        return desktop;
    }
    desktop.gnome = std::make_unique<GnomeShellSession>(GnomeShellSession::Options{scale});
    if (!desktop.gnome->ok()) {
        desktop.why = desktop.gnome->why();
    } else if (!desktop.gnome->startClient(
                   {"foot", "-o", "colors.background=" + kTerminal.name().mid(1).toStdString(),
                    "--fullscreen", "sleep", "600"})) {
        desktop.why = "foot did not start";
    }
    if (!desktop.why.empty()) desktop.gnome.reset();
    return desktop;
}

// How many pixels of `image` in `area` pass `test`.
int count(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test) {
    int n = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = inside.left(); x <= inside.right(); ++x) n += test(line[x]);
    }
    return n;
}

bool terminalColoured(QRgb pixel) {
    return std::abs(qRed(pixel) - kTerminal.red()) < 8 &&
           std::abs(qGreen(pixel) - kTerminal.green()) < 8 &&
           std::abs(qBlue(pixel) - kTerminal.blue()) < 8;
}
bool bright(QRgb pixel) {
    return qRed(pixel) > 225 && qGreen(pixel) > 225 && qBlue(pixel) > 225;
}

class GnomeShellSessionTest : public ::testing::TestWithParam<ScaleCase> {
protected:
    void SetUp() override {
        if (!fs::exists(program)) GTEST_SKIP() << "no program at " << program;
        auto& desktop = desktopAt(GetParam().scale);
        if (!desktop.gnome) GTEST_SKIP() << desktop.why;
        gnome = desktop.gnome.get();
        ASSERT_TRUE(terminalIsFullScreen()) << "foot did not go full screen";
        // The last test may have left the pointer on her: park it away.
        ASSERT_TRUE(gnome->pointTo(gnome->width() / 4, gnome->height() - 1));

        home.emplace("gnome-her");
        // Only the pointer and the preview bring her out.
        home->store(quietSettings());
        gnome->giveToUser(home->path());
    }
    void TearDown() override {
        her.reset();
        home.reset();
    }

    // The shells end before the program does, while Qt's D-Bus is still there.
    static void TearDownTestSuite() { desktops().clear(); }

    // Once foot covers even the top bar, corner to corner.
    bool terminalIsFullScreen() const {
        return waitUntil(
            [&] {
                const QImage screen = gnome->screenshot();
                if (screen.isNull()) return false;
                const int right = screen.width() - 1;
                const int bottom = screen.height() - 1;
                for (QPoint p : {QPoint(right / 2, 1), QPoint(0, 0), QPoint(right, 0),
                                 QPoint(right, bottom)}) {
                    if (!terminalColoured(screen.pixel(p))) return false;
                }
                return true;
            },
            15s, 100ms);
    }

    // Starts her as the session's user; true once her hover strip is mapped,
    // which is when she has built her notch.
    bool startHer(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), program.string());
        auto env = home->env();
        // Her own choice of platform, not the tests'.
        env.insert(env.end(), {"QT_QPA_PLATFORM=", "GSETTINGS_BACKEND=memory"});
        her = gnome->start(arguments, env);
        return her && waitUntil([&] { return shown("^Pelliwig hover$"); }, 15s, 20ms);
    }

    bool shown(const std::string& pattern) const {
        return !gnome->x({"xdotool", "search", "--onlyvisible", "--name", pattern}).empty();
    }
    // Her panel (the strip is named apart).
    bool panelShown() const { return shown("^Pelliwig($| —)"); }

    // Where a window is, in physical pixels.
    QRect geometryOf(const std::string& window) const {
        const std::string shell = gnome->x({"xdotool", "getwindowgeometry", "--shell", window});
        auto value = [&](const std::string& key) {
            const auto at = shell.find(key + "=");
            return at == std::string::npos ? -1 : std::atoi(shell.c_str() + at + key.size() + 1);
        };
        return {value("X"), value("Y"), value("WIDTH"), value("HEIGHT")};
    }
    // The visible window of hers whose top left corner is `corner`; empty
    // when there is none.
    QRect windowOpenedAt(QPoint corner) const {
        std::istringstream ids(
            gnome->x({"xdotool", "search", "--onlyvisible", "--class", "pelliwig"}));
        for (std::string id; ids >> id;) {
            const QRect place = geometryOf(id);
            if ((place.topLeft() - corner).manhattanLength() <= 2) return place;
        }
        return {};
    }
    // Her visible windows, for failure messages.
    std::string windowsOfHers() const {
        std::istringstream ids(
            gnome->x({"xdotool", "search", "--onlyvisible", "--class", "pelliwig"}));
        std::ostringstream list;
        for (std::string id; ids >> id;) {
            const QRect place = geometryOf(id);
            list << " " << place.width() << "x" << place.height() << "+" << place.x() << "+"
                 << place.y();
        }
        return list.str();
    }

    // A logical length in physical pixels.
    int px(int logical) const { return logical * GetParam().scale; }
    // The band across the top centre where her notch and bubble sit.
    QRect topCentre() const {
        return QRect(gnome->width() / 2 - px(320), 0, px(640), px(kTopBar + 160));
    }
    // Whether a bubble of at least 200 x 40 logical pixels is drawn at the
    // top centre (it grows in), within a few seconds.
    bool bubbleDrawn(const fs::path& saveAs, QImage* screen = nullptr) {
        QImage shot;
        const bool drawn = waitUntil(
            [&] {
                shot = gnome->screenshot(saveAs);
                return !shot.isNull() && count(shot, topCentre(), bright) > px(200) * px(40);
            },
            10s, 100ms);
        if (screen) *screen = shot;
        return drawn;
    }
    fs::path shotPath(const std::string& what) const {
        return testFolder() / "gnome-screens" /
               (what + "-" + std::to_string(GetParam().scale * 100) + ".png");
    }

    const fs::path program = programPath();
    GnomeShellSession* gnome = nullptr;
    std::optional<ProgramHome> home;
    std::optional<ChildProcess> her;
};

// Her bubble is white; the terminal under it has no white at all.
TEST_P(GnomeShellSessionTest, SpeaksAboveAFullScreenTerminal) {
    const QImage before = gnome->screenshot();
    ASSERT_FALSE(before.isNull());
    EXPECT_EQ(count(before, topCentre(), bright), 0);

    ASSERT_TRUE(startHer({"--preview", "water"})) << "she never built her notch";
    EXPECT_TRUE(waitUntil([&] { return panelShown(); }, 10s)) << "the preview did not show her";
    QImage screen;
    EXPECT_TRUE(bubbleDrawn(shotPath("speaks"), &screen))
        << "no bubble at the top centre above the terminal, see " << shotPath("speaks");
    // The terminal is still full screen around her.
    EXPECT_TRUE(terminalColoured(screen.pixel(0, 0)));
    EXPECT_TRUE(terminalColoured(screen.pixel(screen.width() - 1, screen.height() - 1)));
}

// Her notch area is the terminal's colour until the pointer rests on the
// strip at the top of it; then she is out, drawn over it.
TEST_P(GnomeShellSessionTest, PointerAtTheTopCentreBringsHerOut) {
    ASSERT_TRUE(startHer({})) << "she never built her notch";
    const QRect notch(gnome->width() / 2 - px(100), px(kTopBar), px(200), px(100));
    const QImage before = gnome->screenshot();
    ASSERT_FALSE(before.isNull());
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(count(before, notch, terminalColoured), notch.width() * notch.height());

    ASSERT_TRUE(gnome->pointTo(gnome->width() / 2, px(kTopBar + 1)));
    ASSERT_TRUE(gnome->moveBy(1, 0));
    EXPECT_TRUE(waitUntil([&] { return panelShown(); }, 5s)) << "hover did not bring her out";
    EXPECT_TRUE(waitUntil(
        [&] {
            const QImage screen = gnome->screenshot(shotPath("hover"));
            return !screen.isNull() &&
                   count(screen, notch, terminalColoured) < notch.width() * notch.height() / 2;
        },
        5s, 100ms))
        << "she is not drawn at the top centre, see " << shotPath("hover");
}

// Every way the pointer leaves her over the full-screen terminal sends her
// back in soon after its last move, though the shell shows her the pointer
// only over her own windows.
TEST_P(GnomeShellSessionTest, SheGoesBackInOnEveryWayOfLeaving) {
    struct ExitPath {
        const char* name;
        int steps;
        double dx, dy;  // logical pixels per step
    };
    const ExitPath paths[] = {
        {"sideways along the top edge, 5 px at a time", 68, -5, 0},
        {"one jump down", 1, 0, 500},
        {"slow steps down", 15, 0, 40},
        {"one jump sideways to the right", 1, 500, 0},
    };
    ASSERT_TRUE(startHer({})) << "she never built her notch";
    for (const ExitPath& path : paths) {
        SCOPED_TRACE(path.name);
        ASSERT_TRUE(gnome->pointTo(gnome->width() / 2, px(kTopBar + 1)));
        ASSERT_TRUE(gnome->moveBy(1, 0));
        ASSERT_TRUE(waitUntil([&] { return panelShown(); }, 5s)) << "hover did not bring her out";
        for (int i = 0; i < path.steps; ++i) ASSERT_TRUE(gnome->moveBy(path.dx, path.dy));
        const auto left = std::chrono::steady_clock::now();
        EXPECT_TRUE(waitUntil([&] { return !panelShown(); }, 10s, 50ms)) << "she stayed out";
        const auto took = std::chrono::duration<double>(std::chrono::steady_clock::now() - left);
        EXPECT_LT(took.count(), kBackInWithin)
            << "she went back in only after " << took.count() << " s";
    }
}

// Her menu opens at the pointer, light over the dark terminal.
TEST_P(GnomeShellSessionTest, RightClickOnHerOpensHerMenu) {
    ASSERT_TRUE(startHer({"--preview", "water"})) << "she never built her notch";
    ASSERT_TRUE(waitUntil([&] { return panelShown(); }, 10s)) << "the preview did not show her";
    // Out in full, so the click lands on her and not on her growing edge.
    ASSERT_TRUE(bubbleDrawn({}));
    const QPoint face(gnome->width() / 2, px(kTopBar + 60));
    ASSERT_TRUE(gnome->pointTo(face.x(), face.y()));
    ASSERT_TRUE(gnome->click(GnomeShellSession::kRightButton));

    QRect menu;
    EXPECT_TRUE(waitUntil([&] { return !(menu = windowOpenedAt(face)).isEmpty(); }, 5s))
        << "no menu opened at the pointer " << face.x() << "," << face.y()
        << "; her windows:" << windowsOfHers();
    ASSERT_FALSE(menu.isEmpty());
    EXPECT_GT(menu.width(), px(100));
    EXPECT_GT(menu.height(), px(100));
    EXPECT_TRUE(waitUntil(
        [&] {
            const QImage screen = gnome->screenshot(shotPath("menu"));
            return !screen.isNull() &&
                   count(screen, menu, bright) > menu.width() * menu.height() / 2;
        },
        5s, 100ms))
        << "her menu is not drawn on the screen, see " << shotPath("menu");
}

INSTANTIATE_TEST_SUITE_P(Scales, GnomeShellSessionTest,
                         ::testing::Values(ScaleCase{"Percent100", 1}, ScaleCase{"Percent200", 2}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace pelliwig
