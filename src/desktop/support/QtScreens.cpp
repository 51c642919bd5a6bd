#include "desktop/support/QtScreens.h"

#include <QGuiApplication>
#include <QScreen>

namespace pelliwig {

namespace {

Screen describe(const QScreen& screen) {
    const QRect g = screen.geometry();
    Screen result;
    result.name = screen.name().toStdString();
    result.frame = {double(g.x()), double(g.y()), double(g.width()), double(g.height())};
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

Connection QtScreens::onChange(std::function<void()> callback) {
    return changed_.connect(std::move(callback));
}

}  // namespace pelliwig
