#include "desktop/support/QtScreens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace pelliwig {

namespace {

Rect rect(const QRect& r) {
    return {double(r.x()), double(r.y()), double(r.width()), double(r.height())};
}

Screen describe(const QScreen& screen) {
    Screen result;
    result.name = screen.name().toStdString();
    result.frame = rect(screen.geometry());
    if (const QRect free = screen.availableGeometry(); !free.isEmpty()) {
        result.workArea = rect(free);
    }
    result.scale = screen.devicePixelRatio();
    return result;  // no Linux screen reports a camera notch
}

}  // namespace

QtScreens::QtScreens() {
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
    std::vector<Screen> result;
    for (const QScreen* screen : QGuiApplication::screens()) result.push_back(describe(*screen));
    return result;
}

std::optional<Screen> QtScreens::mainScreen() const {
    if (const QScreen* primary = QGuiApplication::primaryScreen()) return describe(*primary);
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

std::optional<std::string> QtScreens::pointerScreen() const {
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
