#pragma once

#include <string>

struct wl_display;
struct wl_seat;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_virtual_pointer_v1;
struct org_kde_kwin_fake_input;

namespace pelliwig::testing {

// Pointer input for a test's compositor, whose headless seat has no device:
// a virtual pointer (zwlr_virtual_pointer_manager_v1, wlroots) or KWin's fake
// input (org_kde_kwin_fake_input). To the compositor it is the user moving
// the mouse.
class WaylandInput {
public:
    // Connects to the compositor at `socketPath`; ok() when it offers one of
    // the two protocols.
    explicit WaylandInput(const std::string& socketPath);
    ~WaylandInput();
    WaylandInput(const WaylandInput&) = delete;
    WaylandInput& operator=(const WaylandInput&) = delete;

    bool ok() const { return virtualPointer_ || fakeInput_; }
    // Moves the pointer by a few pixels and waits until the compositor has
    // read it; false when the connection broke.
    bool move();
    // Puts the pointer at (x, y) of a `width` × `height` screen: logical
    // pixels for a virtual pointer, the output's own pixels for KWin's fake
    // input (as KWin 5.27 reads them). False when the connection broke.
    bool moveTo(int x, int y, int width, int height);
    // Presses and releases a button (a Linux input code: 0x110 left, 0x111
    // right) where the pointer is. False when the connection broke.
    bool click(int button);

    static constexpr int kLeftButton = 0x110;
    static constexpr int kRightButton = 0x111;

private:
    wl_display* display_ = nullptr;
    wl_seat* seat_ = nullptr;
    zwlr_virtual_pointer_manager_v1* pointerManager_ = nullptr;
    zwlr_virtual_pointer_v1* virtualPointer_ = nullptr;
    org_kde_kwin_fake_input* fakeInput_ = nullptr;
    int step_ = 1;
};

}  // namespace pelliwig::testing
