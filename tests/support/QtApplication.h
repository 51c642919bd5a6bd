#pragma once

#include <QApplication>

#include <gtest/gtest.h>

namespace pelliwig::testing {

// One QApplication for the whole test program, on whatever platform the
// environment names (offscreen for widget tests). It lives until the process
// ends, so widgets a test leaves behind never outlive it.
class QtApplication : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "pelliwig-test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }
};

}  // namespace pelliwig::testing
