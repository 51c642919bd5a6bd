#include "linux/WaylandSensorChoice.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pelliwig {
namespace {

struct ChoiceCase {
    const char* session;
    WaylandOffers offers;
    WaylandIdleSource idle;
    WaylandFrontAppSource front;
};

void PrintTo(const ChoiceCase& c, std::ostream* out) {
    *out << c.session;
}

class WaylandSensorChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(WaylandSensorChoiceTest, TakesTheFirstSourceOffered) {
    const ChoiceCase& c = GetParam();
    EXPECT_EQ(idleSourceFor(c.offers), c.idle);
    EXPECT_EQ(frontAppSourceFor(c.offers), c.front);
    // The log names what is missing exactly when nothing tells the focused app.
    const std::optional<std::string> notice = missingFrontAppNotice(c.offers);
    EXPECT_EQ(notice.has_value(), c.front == WaylandFrontAppSource::none);
    if (notice) {
        EXPECT_NE(notice->find("zwlr_foreign_toplevel_manager_v1"), std::string::npos);
        EXPECT_NE(notice->find("org.kde.KWin"), std::string::npos);
    }
}

using Idle = WaylandIdleSource;
using Front = WaylandFrontAppSource;

INSTANTIATE_TEST_SUITE_P(
    Sessions, WaylandSensorChoiceTest,
    ::testing::Values(
        // What the compositors measured here offer.
        ChoiceCase{"sway 1.7",
                   {{"wl_seat", "org_kde_kwin_idle", "zwlr_foreign_toplevel_manager_v1"}, false},
                   Idle::kdeIdle,
                   Front::foreignToplevel},
        ChoiceCase{"KWin 5.27",
                   {{"wl_seat", "org_kde_kwin_idle", "ext_idle_notifier_v1"}, true},
                   Idle::extIdleNotify,
                   Front::kwinScript},
        ChoiceCase{
            "GNOME Shell 43", {{"wl_seat", "wl_compositor"}, false}, Idle::desktopBus, Front::none},
        // The standard notifier wins over KDE's, whatever the order of
        // announcement; the window list wins over KWin's scripting.
        ChoiceCase{
            "newer wlroots",
            {{"ext_idle_notifier_v1", "org_kde_kwin_idle", "zwlr_foreign_toplevel_manager_v1"},
             true},
            Idle::extIdleNotify,
            Front::foreignToplevel},
        ChoiceCase{"no compositor reached", {{}, false}, Idle::desktopBus, Front::none},
        ChoiceCase{"KWin on the bus only", {{}, true}, Idle::desktopBus, Front::kwinScript}));

}  // namespace
}  // namespace pelliwig
