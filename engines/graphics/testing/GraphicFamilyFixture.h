// The fixture of the graphic family's tests: a test application (recording every reported error) whose
// Graphic System has one memory graphic engine, shut down at the end with every test handle gone.
#pragma once

#include "engines/graphics/GraphicSystem.h"
#include "engines/graphics/testing/MemoryGraphicEngine.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

namespace VemoTest {

class GraphicFamilyFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_system = Vemo::GraphicSystem::Create();
        ASSERT_NE(m_system, nullptr);
        m_application.m_graphicSystem = m_system;
        m_engine = MemoryGraphicEngine::Make();
        ASSERT_TRUE(m_system->AddEngine(m_engine));
        m_application.TakeReports();
    }

    void TearDown() override {
        if (m_system != nullptr) {
            m_system->Shutdown();
            m_application.m_graphicSystem = nullptr;
        }
        EXPECT_EQ(g_liveGraphicTestHandles, 0);
    }

    Reports Taken() { return m_application.TakeReports(); }

    TestApplication m_application;
    Vemo::GraphicSystem* m_system = nullptr;
    MemoryGraphicEngine* m_engine = nullptr;
};

} // namespace VemoTest
