#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "core/application.h"

// The application object of a test program. It lives from before the first test to after the
// last and ends like a real program's, before the process's exit handlers run (windows that
// outlive a function-local static application crash Qt's teardown).
class AppEnvironment : public testing::Environment {
public:
    void SetUp() override { m_app = std::make_unique<KelvaraApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }
    KelvaraApplication& app() { return *m_app; }

private:
    int m_argc = 1;
    char m_name[16] = "kelvara_test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<KelvaraApplication> m_app;
};

// Registers the environment once per test program; call from a namespace-scope initializer.
inline AppEnvironment* RegisterAppEnvironment() {
    return static_cast<AppEnvironment*>(testing::AddGlobalTestEnvironment(new AppEnvironment));
}
