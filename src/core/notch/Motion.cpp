#include "core/notch/Motion.h"

#include <cmath>
#include <numbers>

namespace pelliwig {

namespace {

constexpr double kRestDistance = 0.01;
constexpr double kRestSpeed = 0.05;

// x(t) of a cubic Bézier from (0,0) to (1,1) with the given control points,
// solved for the progress that gives x = progress, then its y.
double cubicBezier(double x1, double y1, double x2, double y2, double progress) {
    auto coordinate = [](double a, double b, double s) {
        const double u = 1 - s;
        return 3 * u * u * s * a + 3 * u * s * s * b + s * s * s;
    };
    double lo = 0, hi = 1, s = progress;
    for (int i = 0; i < 40; ++i) {
        s = (lo + hi) / 2;
        if (coordinate(x1, x2, s) < progress) {
            lo = s;
        } else {
            hi = s;
        }
    }
    return coordinate(y1, y2, s);
}

}  // namespace

void Motion::animateTo(double target, ThemeAnimation animation, double now, double delay) {
    animateTo(target, curveOf(animation), now, delay);
}

void Motion::animateTo(double target, const AnimationCurve& curve, double now, double delay) {
    if (curve.shape == AnimationCurve::Shape::instant) {
        set(target);
        return;
    }
    // A spring that is redirected keeps its momentum, so a quick change of
    // mind bends the motion instead of restarting it.
    const double position = value(now);
    startVelocity_ = curve.shape == AnimationCurve::Shape::spring ? velocity(now) : 0;
    from_ = position;
    to_ = target;
    start_ = now + delay;
    curve_ = curve;
}

void Motion::set(double value) {
    from_ = to_ = value;
    startVelocity_ = 0;
    curve_ = {};
}

// The spring's displacement from its target t seconds after its start, for a
// unit mass whose stiffness and damping follow from the response (the period
// of the undamped oscillation) and the damping fraction.
double Motion::springOffset(double t) const {
    const double omega = 2 * std::numbers::pi / curve_.response;
    const double zeta = curve_.dampingFraction;
    const double a = from_ - to_;
    if (zeta < 1) {
        const double omegaD = omega * std::sqrt(1 - zeta * zeta);
        const double b = (startVelocity_ + zeta * omega * a) / omegaD;
        return std::exp(-zeta * omega * t) * (a * std::cos(omegaD * t) + b * std::sin(omegaD * t));
    }
    const double b = startVelocity_ + omega * a;
    return std::exp(-omega * t) * (a + b * t);
}

double Motion::springVelocity(double t) const {
    constexpr double h = 1e-4;
    return (springOffset(t + h) - springOffset(std::max(0.0, t - h))) / (t < h ? h + t : 2 * h);
}

double Motion::eased(double progress) const {
    if (curve_.shape == AnimationCurve::Shape::easeIn) {
        return cubicBezier(0.42, 0, 1, 1, progress);
    }
    return cubicBezier(0.42, 0, 0.58, 1, progress);
}

double Motion::value(double now) const {
    const double t = now - start_;
    switch (curve_.shape) {
        case AnimationCurve::Shape::instant:
            return to_;
        case AnimationCurve::Shape::spring:
            return to_ + springOffset(std::max(0.0, t));
        case AnimationCurve::Shape::easeIn:
        case AnimationCurve::Shape::easeInOut:
            if (t <= 0) return from_;
            if (t >= curve_.duration) return to_;
            return from_ + (to_ - from_) * eased(t / curve_.duration);
    }
    return to_;
}

double Motion::velocity(double now) const {
    const double t = now - start_;
    if (t < 0) return 0;
    switch (curve_.shape) {
        case AnimationCurve::Shape::spring:
            return springVelocity(t);
        case AnimationCurve::Shape::easeIn:
        case AnimationCurve::Shape::easeInOut: {
            if (t >= curve_.duration) return 0;
            constexpr double h = 1e-4;
            return (value(now + h) - value(now)) / h;
        }
        case AnimationCurve::Shape::instant:
            break;
    }
    return 0;
}

bool Motion::settled(double now) const {
    const double t = now - start_;
    switch (curve_.shape) {
        case AnimationCurve::Shape::instant:
            return true;
        case AnimationCurve::Shape::spring:
            return t >= 0 && std::abs(springOffset(t)) < kRestDistance &&
                   std::abs(springVelocity(t)) < kRestSpeed;
        case AnimationCurve::Shape::easeIn:
        case AnimationCurve::Shape::easeInOut:
            return t >= curve_.duration;
    }
    return true;
}

}  // namespace pelliwig
