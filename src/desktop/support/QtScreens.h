#pragma once

#include <QObject>
#include <QRect>

#include "core/platform/Screens.h"

class QScreen;

namespace pelliwig {

// The displays as Qt reports them, in device-independent pixels (each with
// its own scale, so a 200 % screen beside a 100 % one is measured alike).
// The top bar's height is what the work area leaves free at the top of the
// primary screen.
class QtScreens final : public QObject, public Screens {
    Q_OBJECT

public:
    // When the desktop reserves nothing at the top (no top panel, or none
    // that sets a strut), she lives in a strip this tall.
    static constexpr double kNoPanelHeight = 32;
    // A top panel thinner than this still gets an area she fits in.
    static constexpr double kMinimumBarHeight = 24;

    // What the compositor says of its outputs that XWayland does not pass
    // on, in the device pixels of the X screen.
    struct CompositorOutput {
        Rect rect;
        Rect usable;  // what its bars leave free
        bool focused = false;
    };
    using CompositorOutputs = std::function<std::vector<CompositorOutput>()>;

    // `outputs`, where the compositor tells them, gives each screen's work
    // area and, while the pointer is on no X window, the screen it is on.
    explicit QtScreens(CompositorOutputs outputs = {});

    std::vector<Screen> screens() const override;
    std::optional<Screen> mainScreen() const override;
    double menuBarHeight() const override;
    std::optional<std::string> pointerScreen() const override;
    Connection onChange(std::function<void()> callback) override;

    // A point the X server gives in device pixels, in the device-independent
    // pixels every screen, window and rectangle of hers is measured in.
    std::optional<Point> fromDevicePixels(Point device) const;
    // The device pixels a rectangle covers on the screen of its top-left
    // corner, for windows placed behind Qt's back.
    static QRect toDevicePixels(const Rect& rect);

    // The bar height for a screen's full and available geometry.
    static double barHeight(const QRect& geometry, const QRect& available);

private:
    void watch(QScreen* screen);
    Screen describe(const QScreen& screen, const std::vector<CompositorOutput>& outputs) const;
    std::vector<CompositorOutput> compositorOutputs() const;

    CompositorOutputs outputs_;
    void announce();

    Signal<> changed_;
};

}  // namespace pelliwig
