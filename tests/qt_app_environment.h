#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QApplication>

// The application object of a test program: made before the first test and destroyed after the
// last, while the Qt libraries' own static objects (the input devices among them) still exist.
class QtAppEnvironment : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "kelvara_test";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

inline testing::Environment* const TheQtAppEnvironment =
    testing::AddGlobalTestEnvironment(new QtAppEnvironment);
