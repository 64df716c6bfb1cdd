#include "resources/ResourceEngine.h"

#include "resources/testing/TestFamilyFixture.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace Vemo;
using namespace VemoTest;

class ResourceEngineTest : public TestFamilyFixture {};

TEST_F(ResourceEngineTest, StartAndStop) {
    EXPECT_TRUE(m_engine->Start());
    EXPECT_TRUE(m_engine->IsStarted());
    EXPECT_FALSE(m_engine->Start());
    EXPECT_TRUE(m_engine->Stop());
    EXPECT_FALSE(m_engine->IsStarted());
    EXPECT_FALSE(m_engine->Stop());
    EXPECT_EQ(m_engine->m_activations, 1);
    EXPECT_EQ(m_engine->m_deactivations, 1);
    EXPECT_EQ(Taken(), (Reports{{ResourceEngineErrAlreadyStarted, "Test Engine"},
                                {ResourceEngineErrNotStarted, "Test Engine"}}));

    m_engine->m_failActivate = true;
    EXPECT_FALSE(m_engine->Start());
    EXPECT_FALSE(m_engine->IsStarted());
    m_engine->m_failActivate = false;

    // A failing Deactivate still leaves the engine stopped.
    ASSERT_TRUE(m_engine->Start());
    m_engine->m_failDeactivate = true;
    EXPECT_FALSE(m_engine->Stop());
    EXPECT_FALSE(m_engine->IsStarted());
    m_engine->m_failDeactivate = false;
    EXPECT_EQ(Taken(), (Reports{{ResourceEngineErrActivateFailed, "Test Engine"},
                                {ResourceEngineErrDeactivateFailed, "Test Engine"}}));

    TestEngine* loose = TestEngine::Make(kOtherTestEngineId, "Loose");
    EXPECT_FALSE(loose->Start());
    EXPECT_FALSE(loose->Stop());
    EXPECT_EQ(Taken(), (Reports{{ResourceEngineErrNoSystem, "Loose"}, {ResourceEngineErrNoSystem, "Loose"}}));
    EXPECT_TRUE(loose->Shutdown());
}

TEST_F(ResourceEngineTest, AnEngineWithOpenHandlesStaysStarted) {
    TestResource front;
    ASSERT_TRUE(front.Open(m_system));
    EXPECT_FALSE(m_engine->Stop());
    EXPECT_TRUE(m_engine->IsStarted());
    EXPECT_EQ(Taken(), (Reports{{ResourceEngineErrHandlesOpen, "Test Engine"}}));
}

TEST_F(ResourceEngineTest, AnEngineServesOnlyItsOwnSystem) {
    TestSystem* other = TestSystem::Make(0x00080000, "Other System");
    TestSearchCriterion criterion;
    TestResource front;
    EXPECT_EQ(m_engine->Open(&criterion, other, &front), nullptr);
    ASSERT_TRUE(front.Open(m_system));
    TestResource sharer;
    EXPECT_EQ(m_engine->Share(front.GetHandle(), other, &sharer), nullptr);
    EXPECT_FALSE(m_engine->Close(front.GetHandle(), other, &front));
    EXPECT_EQ(Taken(), Reports(3, {ResourceEngineErrForeignSystem, "Test Engine"}));
    EXPECT_EQ(front.GetHandle()->GetReferenceCount(), 1u);
    EXPECT_TRUE(other->Shutdown());
}

TEST_F(ResourceEngineTest, TheBaseMatches) {
    ResourceEngine* plain = ResourceEngine::Create();
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->GetTypeId(), 0u);
    EXPECT_STREQ(plain->GetName().CStr(), "Resource Engine");
    ResourceSearchCriterion criterion(kResourceTypeId, ResourceSearchCriterion::kSearchQuick);
    EXPECT_FALSE(plain->MatchSearchCriterion(&criterion)) << "no system";

    ResourceSystem* system = ResourceSystem::Create();
    ASSERT_TRUE(system->AddEngine(plain));
    EXPECT_TRUE(plain->MatchSearchCriterion(&criterion));
    EXPECT_FALSE(plain->MatchSearchCriterionThorough(&criterion)) << "not started";
    ASSERT_TRUE(plain->Start());
    EXPECT_TRUE(plain->MatchSearchCriterionThorough(&criterion));

    const std::uint32_t other = 1;
    criterion.SetWantedEngineId(&other);
    EXPECT_FALSE(plain->MatchSearchCriterion(&criterion));
    const std::uint32_t self = 0;
    criterion.SetWantedEngineId(&self);
    EXPECT_TRUE(plain->MatchSearchCriterion(&criterion));
    ResourceSearchCriterion otherFamily(kStorageTypeId, ResourceSearchCriterion::kSearchQuick);
    EXPECT_FALSE(plain->MatchSearchCriterion(&otherFamily));
    EXPECT_FALSE(plain->MatchSearchCriterion(nullptr));
    EXPECT_TRUE(system->Shutdown());
}

TEST_F(ResourceEngineTest, CreateRunsInitialize) {
    auto* failing = new TestEngine(kOtherTestEngineId, "Failing");
    failing->m_failInitialize = true;
    EXPECT_EQ(ResourceEngine::Create(failing), nullptr);
    EXPECT_EQ(Taken(), (Reports{{ResourceEngineErrInitializeFailed, "Failing"}}));
    delete failing;
}

// Shutdown closes the engine's handles through its system and detaches the front-ends that held them.
TEST_F(ResourceEngineTest, ShutdownClosesDetachesAndLeavesTheSystem) {
    TestResource a, b;
    ASSERT_TRUE(a.Open(m_system));
    ASSERT_TRUE(b.Share(m_system, a));
    TestResource c;
    ASSERT_TRUE(c.Open(m_system));
    EXPECT_TRUE(m_engine->Shutdown());
    EXPECT_TRUE(m_system->GetEngines().Empty());
    EXPECT_EQ(m_system->GetFirstHandle(), nullptr);
    EXPECT_EQ(g_liveTestHandles, 0);
    EXPECT_FALSE(a.IsOpen());
    EXPECT_FALSE(b.IsOpen());
    EXPECT_FALSE(c.IsOpen());
    EXPECT_TRUE(Taken().empty());
}

TEST_F(ResourceEngineTest, ShutdownGoesOnPastFailures) {
    TestResource a;
    ASSERT_TRUE(a.Open(m_system));
    m_system->m_failDetachResource = true;
    m_engine->m_failTerminate = true;
    EXPECT_FALSE(m_engine->Shutdown());
    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrDetachResourceFailed, "Test System"},
                                {ResourceEngineErrDestroyHandleFailed, "Test Engine"},
                                {ResourceEngineErrTerminateFailed, "Test Engine"}}));
    EXPECT_FALSE(a.IsOpen());
    EXPECT_EQ(g_liveTestHandles, 0);
    EXPECT_EQ(m_system->GetFirstHandle(), nullptr);
    EXPECT_TRUE(m_system->GetEngines().Empty());
    m_system->m_failDetachResource = false;
}

TEST_F(ResourceEngineTest, ShutdownReportsAFailedRemovalFromItsSystem) {
    m_engine->m_failDetach = true;
    EXPECT_FALSE(m_engine->Shutdown());
    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrDetachFailed, "Test Engine"},
                                {ResourceEngineErrRemoveFailed, "Test Engine"}}));
    EXPECT_TRUE(m_system->GetEngines().Empty());
}

TEST_F(ResourceEngineTest, ShutdownWithoutASystemDestroysUnheldHandles) {
    // A handle that an engine made and never attached: count 0, in the engine's list only.
    TestEngine* loose = TestEngine::Make(kOtherTestEngineId, "Loose");
    TestSearchCriterion criterion;
    ResourceHandle* handle = loose->CreateHandle(&criterion, nullptr);
    ASSERT_TRUE(loose->AttachHandle(&criterion, nullptr, handle));
    EXPECT_EQ(loose->GetFirstHandle(), handle);
    EXPECT_TRUE(loose->Shutdown());
    EXPECT_EQ(g_liveTestHandles, 0);
    EXPECT_TRUE(Taken().empty());
}

} // namespace
