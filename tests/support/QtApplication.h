#pragma once

#include <QApplication>

#include <functional>
#include <utility>

#include <gtest/gtest.h>

namespace pelliwig::testing {

// One QApplication for the whole test program, on whatever platform the
// environment names (offscreen for widget tests). It lives until the process
// ends, so widgets a test leaves behind never outlive it.
class QtApplication : public ::testing::Environment {
public:
    QtApplication() = default;
    // Made only when `wanted` says so: when the display the test program
    // started for it is up (its tests skip otherwise).
    explicit QtApplication(std::function<bool()> wanted) : wanted_(std::move(wanted)) {}

    void SetUp() override {
        static int argc = 1;
        static char name[] = "pelliwig-test";
        static char* argv[] = {name, nullptr};
        if (wanted_ && !wanted_()) return;
        if (!QApplication::instance()) new QApplication(argc, argv);
    }

private:
    std::function<bool()> wanted_;
};

}  // namespace pelliwig::testing
