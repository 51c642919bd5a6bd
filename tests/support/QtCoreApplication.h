#pragma once

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace pelliwig::testing {

// One QCoreApplication for a test program that needs Qt's event loop but no
// widgets. It lives until the process ends.
class QtCoreApplication : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "pelliwig-test";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }
};

}  // namespace pelliwig::testing
