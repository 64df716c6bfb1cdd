// The fixture of the tests of the resource framework's base classes: a TestSystem with one TestEngine added,
// reported to a TestApplication, shut down at the end with every test handle and engine gone.
#pragma once

#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

namespace VemoTest {

class TestFamilyFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_system = TestSystem::Make();
        m_engine = TestEngine::Make();
        ASSERT_TRUE(m_system->AddEngine(m_engine));
        m_application.TakeReports();
    }

    void TearDown() override {
        if (m_system != nullptr) {
            m_system->Shutdown();
        }
        EXPECT_EQ(g_liveTestHandles, 0);
        EXPECT_EQ(g_liveTestEngines, 0);
    }

    Reports Taken() { return m_application.TakeReports(); }

    TestApplication m_application;
    TestSystem* m_system = nullptr;
    TestEngine* m_engine = nullptr;
};

} // namespace VemoTest
