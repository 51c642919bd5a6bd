#pragma once

#include <functional>

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QRect>

#include "core/support/Geometry.h"

namespace pelliwig {

// A thin window along the top edge of her area that is always there, even
// while she is in, and reports the pointer entering, moving over and leaving
// it. It is how she sees the pointer where the desktop shows it to a program
// only over that program's own windows (XWayland). It draws nothing: on a
// real X server it is an input-only window; on XWayland, which gives input
// only to windows with content, a fully transparent one.
//
// It is a plain X window on Qt's own connection, since Qt has no window that
// takes input without drawing; its events are picked out of Qt's stream.
// Without an X connection it does nothing.
class HoverStrip final : public QAbstractNativeEventFilter {
public:
    // Thin, so the clicks it takes from what lies under it (the top few
    // pixels of a tab or a clock) are few.
    static constexpr double kHeight = 4;

    enum class Kind { inputOnly, transparent };

    explicit HoverStrip(Kind kind);
    ~HoverStrip() override;
    HoverStrip(const HoverStrip&) = delete;
    HoverStrip& operator=(const HoverStrip&) = delete;

    // The kind this session needs.
    static Kind kindForSession();

    // Lays the strip along the top of `notch` (device-independent pixels)
    // and keeps it above other windows.
    void place(const Rect& notch);
    // Puts it back on top, since windows mapped later stack above it.
    void raise();

    // Where the pointer is over it (and where it went when it left), in
    // device pixels of the root window.
    std::function<void(Point device)> onPointer;
    // The pointer left it.
    std::function<void()> onLeft;

    xcb_window_t window() const { return window_; }
    // Where it is now, in device pixels.
    QRect deviceGeometry() const { return geometry_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void create(Kind kind);

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t window_ = XCB_NONE;
    xcb_colormap_t colormap_ = XCB_NONE;
    QRect geometry_;
    bool mapped_ = false;
};

}  // namespace pelliwig
