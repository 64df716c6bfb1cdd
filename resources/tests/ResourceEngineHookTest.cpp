#include "resources/ResourceEngineHook.h"

#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

namespace {

using namespace Vemo;
using namespace VemoTest;

TEST(ResourceEngineHookTest, InstallAndUninstall) {
    TestApplication application;
    EXPECT_EQ(ResourceEngineHook::Installed(), nullptr);
    EXPECT_FALSE(ResourceEngineHook::Uninstall());
    ASSERT_TRUE(ResourceEngineHook::Install());
    EXPECT_NE(ResourceEngineHook::Installed(), nullptr);
    EXPECT_FALSE(ResourceEngineHook::Install());
    EXPECT_TRUE(ResourceEngineHook::Uninstall());
    EXPECT_EQ(ResourceEngineHook::Installed(), nullptr);
    EXPECT_EQ(application.TakeReports(),
              (Reports{{EngineHookErrNotInstalled}, {EngineHookErrAlreadyInstalled}}));
}

// A hook class of its own, as the platform hooks are: its own singleton, with Startup and Shutdown that fail
// on request.
class FailingHook : public ResourceEngineHook {
public:
    explicit FailingHook(bool failStartup) : m_failStartup(failStartup) { ++s_live; }
    ~FailingHook() override { --s_live; }
    bool Startup() override { return !m_failStartup; }
    bool Shutdown() override { return false; }

    static bool Install(bool failStartup) {
        return InstallHook(s_installed, [failStartup] { return new FailingHook(failStartup); });
    }
    static bool Uninstall() { return UninstallHook(s_installed); }

    static inline FailingHook* s_installed = nullptr;
    static inline int s_live = 0;

private:
    bool m_failStartup;
};

TEST(ResourceEngineHookTest, FailingStartupAndShutdown) {
    TestApplication application;
    EXPECT_FALSE(FailingHook::Install(true));
    EXPECT_EQ(FailingHook::s_installed, nullptr);
    EXPECT_EQ(FailingHook::s_live, 0);

    ASSERT_TRUE(FailingHook::Install(false));
    EXPECT_EQ(ResourceEngineHook::Installed(), nullptr) << "each hook class has its own singleton";
    EXPECT_FALSE(FailingHook::Uninstall());
    EXPECT_EQ(FailingHook::s_installed, nullptr);
    EXPECT_EQ(FailingHook::s_live, 0);
    EXPECT_EQ(application.TakeReports(),
              (Reports{{EngineHookErrStartupFailed}, {EngineHookErrShutdownFailed}}));
}

} // namespace
