#pragma once

#include "core/notch/ThemeAnimation.h"

namespace pelliwig {

// One animated number following the named curves: a damped spring that keeps
// its speed when sent somewhere new mid-flight, and eased curves that start
// from wherever the value is. Time is whatever clock the caller reads, in
// seconds, so tests and benchmarks can step it by hand.
class Motion {
public:
    explicit Motion(double value = 0) : from_(value), to_(value) {}

    // Heads for `target` from its value at `now`, starting `delay` seconds
    // later; an instant curve jumps at once.
    void animateTo(double target, ThemeAnimation animation, double now, double delay = 0);
    void animateTo(double target, const AnimationCurve& curve, double now, double delay = 0);

    // Jumps to a value and stays there.
    void set(double value);

    double value(double now) const;
    double velocity(double now) const;
    double target() const { return to_; }

    // True once the value rests at its target (within a hundredth of a point
    // and nearly still, for springs).
    bool settled(double now) const;

private:
    double springOffset(double t) const;
    double springVelocity(double t) const;
    double eased(double progress) const;

    double from_;
    double to_;
    double startVelocity_ = 0;
    double start_ = 0;  // when the curve begins, after its delay
    AnimationCurve curve_;
};

}  // namespace pelliwig
