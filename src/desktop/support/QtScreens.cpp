#include "desktop/support/QtScreens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>

#include "linux/x11/X11Desktop.h"

namespace pelliwig {

namespace {

Rect rect(const QRect& r) {
    return {double(r.x()), double(r.y()), double(r.width()), double(r.height())};
}

// The screen's area in device pixels; its top-left corner is the same point
// in both.
Rect devicePixels(const Screen& screen) {
    const Rect& f = screen.frame;
    return {f.x, f.y, f.width * screen.scale, f.height * screen.scale};
}

bool sameArea(const Rect& a, const Rect& b) {
    return std::abs(a.x - b.x) < 1 && std::abs(a.y - b.y) < 1 && std::abs(a.width - b.width) < 1 &&
           std::abs(a.height - b.height) < 1;
}

}  // namespace

Screen QtScreens::describe(const QScreen& screen,
                           const std::vector<CompositorOutput>& outputs) const {
    Screen result;
    result.name = screen.name().toStdString();
    result.frame = rect(screen.geometry());
    if (const QRect free = screen.availableGeometry(); !free.isEmpty()) {
        result.workArea = rect(free);
    }
    result.scale = screen.devicePixelRatio();
    for (const CompositorOutput& output : outputs) {
        if (!sameArea(output.rect, devicePixels(result))) continue;
        const Rect& f = result.frame;
        const Rect& u = output.usable;
        result.workArea = Rect{f.x + (u.x - f.x) / result.scale, f.y + (u.y - f.y) / result.scale,
                               u.width / result.scale, u.height / result.scale};
    }
    return result;  // no Linux screen reports a camera notch
}

std::vector<QtScreens::CompositorOutput> QtScreens::compositorOutputs() const {
    return outputs_ ? outputs_() : std::vector<CompositorOutput>{};
}

QtScreens::QtScreens(CompositorOutputs outputs) : outputs_(std::move(outputs)) {
    for (QScreen* screen : QGuiApplication::screens()) watch(screen);
    auto* app = qGuiApp;
    connect(app, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        announce();
    });
    connect(app, &QGuiApplication::screenRemoved, this, [this] { announce(); });
    connect(app, &QGuiApplication::primaryScreenChanged, this, [this] { announce(); });
}

void QtScreens::watch(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, [this] { announce(); });
    connect(screen, &QScreen::availableGeometryChanged, this, [this] { announce(); });
}

void QtScreens::announce() {
    changed_();
}

std::vector<Screen> QtScreens::screens() const {
    const auto outputs = compositorOutputs();
    std::vector<Screen> result;
    for (const QScreen* screen : QGuiApplication::screens()) {
        result.push_back(describe(*screen, outputs));
    }
    return result;
}

std::optional<Screen> QtScreens::mainScreen() const {
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        return describe(*primary, compositorOutputs());
    }
    return std::nullopt;
}

double QtScreens::menuBarHeight() const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return kNoPanelHeight;
    return barHeight(primary->geometry(), primary->availableGeometry());
}

double QtScreens::barHeight(const QRect& geometry, const QRect& available) {
    const int reserved = available.top() - geometry.top();
    if (available.isEmpty() || reserved <= 0) return kNoPanelHeight;
    return std::max(double(reserved), kMinimumBarHeight);
}

// The X server's pointer is where it last was over an X window; once it is
// over a Wayland window (XWayland then puts it over the root window) the
// compositor's focused output, which follows it, says more.
std::optional<std::string> QtScreens::pointerScreen() const {
    const auto place = X11Desktop::pointerPlace();
    if (outputs_ && (!place || place->windows.empty())) {
        for (const CompositorOutput& output : compositorOutputs()) {
            if (!output.focused) continue;
            for (const QScreen* screen : QGuiApplication::screens()) {
                const Screen described = describe(*screen, {});
                if (sameArea(output.rect, devicePixels(described))) return described.name;
            }
        }
    }
    if (const QScreen* screen = QGuiApplication::screenAt(QCursor::pos())) {
        return screen->name().toStdString();
    }
    return std::nullopt;
}

std::optional<Point> QtScreens::fromDevicePixels(Point device) const {
    return pelliwig::fromDevicePixels(screens(), device);
}

QRect QtScreens::toDevicePixels(const Rect& r) {
    const QPoint topLeft(int(std::lround(r.x)), int(std::lround(r.y)));
    const QScreen* screen = QGuiApplication::screenAt(topLeft);
    if (!screen) screen = QGuiApplication::primaryScreen();
    const double scale = screen ? screen->devicePixelRatio() : 1;
    const QPointF origin = screen ? QPointF(screen->geometry().topLeft()) : QPointF();
    const QPointF device = origin + (QPointF(r.x, r.y) - origin) * scale;
    return QRect(device.toPoint(),
                 QSize(int(std::lround(r.width * scale)), int(std::lround(r.height * scale))));
}

Connection QtScreens::onChange(std::function<void()> callback) {
    return changed_.connect(std::move(callback));
}

}  // namespace pelliwig
