#include "resources/Resource.h"

#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace Vemo;
using namespace VemoTest;

// The base family: the application's Resource System with the plain Resource Engine.
class ResourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_application.m_resourceSystem = ResourceSystem::Create();
        ASSERT_TRUE(m_application.m_resourceSystem->AddEngine(ResourceEngine::Create()));
    }

    Reports Taken() { return m_application.TakeReports(); }

    TestApplication m_application;
};

TEST_F(ResourceTest, OpenThroughTheResourceSystem) {
    Resource front;
    EXPECT_FALSE(front.IsOpen());
    ASSERT_TRUE(front.Open());
    EXPECT_TRUE(front.IsOpen());
    ResourceHandle* handle = front.GetHandle();
    EXPECT_EQ(handle->GetReferenceCount(), 1u);
    EXPECT_EQ(handle->GetFirstResource(), &front);
    EXPECT_EQ(m_application.m_resourceSystem->GetFirstHandle(), handle);

    EXPECT_FALSE(front.Open());
    EXPECT_EQ(front.GetHandle(), handle);
    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrAlreadyOpen}}));
}

TEST_F(ResourceTest, OpenFailures) {
    ResourceSystem* system = m_application.m_resourceSystem;
    ResourceEngine* engine = *system->GetEngines().Begin();
    ASSERT_TRUE(system->RemoveEngine(engine));
    Resource front;
    EXPECT_FALSE(front.Open());
    EXPECT_EQ(Taken(),
              (Reports{{ResourceSystemErrNoEngine, "Resource System"}, {ResourceSystemErrOpenFailed}}));
    EXPECT_TRUE(engine->Shutdown());

    m_application.m_resourceSystem = nullptr;
    EXPECT_FALSE(front.Open());
    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrNoSystem}}));
    EXPECT_TRUE(system->Shutdown());
}

TEST_F(ResourceTest, TheFlagNeedsAHandle) {
    Resource front;
    EXPECT_FALSE(front.SetFlag());
    EXPECT_FALSE(front.ClearFlag());
    EXPECT_FALSE(front.GetFlag());
    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrNoHandle}, {ResourceSystemErrNoHandle}}));

    ASSERT_TRUE(front.Open());
    EXPECT_TRUE(front.SetFlag());
    EXPECT_TRUE(front.GetFlag());
    EXPECT_TRUE(front.ClearFlag());
    EXPECT_FALSE(front.GetFlag());
    EXPECT_TRUE(Taken().empty());
}

// The framework's own reports build no Error without an error system, so they take no serial number.
TEST_F(ResourceTest, SerialNumbersAreTakenOnlyByFrontEnds) {
    TestApplication quiet(TestApplication::ErrorSetup::kNone);
    Resource first;
    first.SetFlag();
    Resource second;
    EXPECT_EQ(second.GetSerial(), first.GetSerial() + 1);
    ApplicationSystems::SetCurrent(&m_application);
}

TEST_F(ResourceTest, AFrontEndDestroyedAfterItsEngineLeftReportsAndForgetsTheHandle) {
    ResourceSystem* system = m_application.m_resourceSystem;
    ResourceEngine* engine = *system->GetEngines().Begin();
    auto front = std::make_unique<Resource>();
    ASSERT_TRUE(front->Open());
    ResourceHandle* handle = front->GetHandle();
    EXPECT_FALSE(system->RemoveEngine(engine));
    Taken();
    front.reset();
    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrNoSystem}}));
    EXPECT_EQ(handle->GetFirstResource(), nullptr);
    EXPECT_FALSE(engine->Shutdown());
}

} // namespace
