#include "linux/SessionTraits.h"

#include <gtest/gtest.h>

namespace pelliwig {
namespace {

struct KindCase {
    const char* xdgSessionType;
    const char* waylandDisplay;
    SessionKind expected;
};

class SessionKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(SessionKindTest, ReadsTheSessionsEnvironment) {
    EXPECT_EQ(SessionTraits::from(GetParam().xdgSessionType, GetParam().waylandDisplay, "").kind,
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Environments, SessionKindTest,
                         ::testing::Values(KindCase{"x11", "", SessionKind::X11},
                                           KindCase{"wayland", "", SessionKind::Wayland},
                                           KindCase{"x11", "wayland-0", SessionKind::X11},
                                           KindCase{"", "wayland-0", SessionKind::Wayland},
                                           KindCase{"tty", "", SessionKind::X11},
                                           KindCase{"", "", SessionKind::X11}));

// GNOME's settings library is opened only in GNOME sessions, as
// XDG_CURRENT_DESKTOP lists them.
TEST(SessionTraitsTest, OnlyGnomeSessionsAreGnome) {
    const struct {
        const char* currentDesktop;
        bool gnome;
    } cases[] = {
        {"GNOME", true},
        {"ubuntu:GNOME", true},
        {"GNOME-Classic:GNOME", true},
        {"GNOME-Flashback:GNOME", true},
        {"KDE", false},
        {"XFCE", false},
        {"sway", false},
        {"", false},
        {"GNOMEISH", false},
        {"X-GNOME", false},
        {"Unity:", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SessionTraits::from("", "", c.currentDesktop).gnome, c.gnome) << c.currentDesktop;
    }
}

}  // namespace
}  // namespace pelliwig
