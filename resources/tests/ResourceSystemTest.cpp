#include "resources/ResourceSystem.h"

#include "resources/ResourceEnumerator.h"
#include "resources/testing/TestFamilyFixture.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

class ResourceSystemTest : public TestFamilyFixture {};

TEST_F(ResourceSystemTest, AnEngineJoinsOnlyASystemOfItsFamily) {
    struct Case {
        std::uint32_t systemId;
        std::uint32_t engineId;
        bool added;
    };
    const Case cases[] = {
        {0x00030000, 0x00030001, true},
        {0x00030000, 0x00030000, true},
        {0x00040000, 0x00030001, false},
        {0x01000000, 0x01010001, false},
    };
    for (const Case& c : cases) {
        TestSystem* system = TestSystem::Make(c.systemId);
        TestEngine* engine = TestEngine::Make(c.engineId);
        EXPECT_EQ(system->AddEngine(engine), c.added) << std::hex << c.systemId << " " << c.engineId;
        EXPECT_EQ(engine->GetSystem(), c.added ? system : nullptr);
        const Reports refused{{ResourceSystemErrWrongFamily, "Test Engine"}};
        EXPECT_EQ(Taken(), c.added ? Reports{} : refused);
        if (!c.added) {
            EXPECT_TRUE(engine->Shutdown());
        }
        EXPECT_TRUE(system->Shutdown());
    }
}

TEST_F(ResourceSystemTest, AddEngineRefusals) {
    TestEngine* duplicate = TestEngine::Make(kTestEngineId, "Duplicate");
    EXPECT_FALSE(m_system->AddEngine(duplicate));
    EXPECT_EQ(m_system->GetEngines().Size(), 1u);

    TestSystem* other = TestSystem::Make(kTestFamilyId, "Other System");
    EXPECT_FALSE(other->AddEngine(m_engine));

    TestEngine* refused = TestEngine::Make(kOtherTestEngineId, "Refused");
    m_system->m_failAddingEngine = true;
    EXPECT_FALSE(m_system->AddEngine(refused));
    m_system->m_failAddingEngine = false;

    refused->m_failAttach = true;
    EXPECT_FALSE(m_system->AddEngine(refused));
    EXPECT_EQ(refused->GetSystem(), nullptr);
    EXPECT_EQ(m_system->m_enginesRemoved, 1);
    m_system->m_failEngineRemoved = true;
    EXPECT_FALSE(m_system->AddEngine(refused));
    m_system->m_failEngineRemoved = false;

    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrDuplicateEngine, "Duplicate"},
                                {ResourceSystemErrEngineHasSystem, "Test Engine"},
                                {ResourceSystemErrAddingRefused, "Refused"},
                                {ResourceSystemErrAttachFailed, "Refused"},
                                {ResourceSystemErrAttachFailed, "Refused"},
                                {ResourceSystemErrEngineRemovedFailed, "Refused"}}));
    EXPECT_EQ(m_system->GetEngines().Size(), 1u);
    duplicate->Shutdown();
    refused->Shutdown();
    other->Shutdown();
}

TEST_F(ResourceSystemTest, RemoveEngineRefusalsAndFailures) {
    TestEngine* loose = TestEngine::Make(kOtherTestEngineId, "Loose");
    EXPECT_FALSE(m_system->RemoveEngine(loose));
    TestSystem* other = TestSystem::Make(kTestFamilyId, "Other System");
    ASSERT_TRUE(other->AddEngine(loose));
    EXPECT_FALSE(m_system->RemoveEngine(loose));
    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrEngineHasNoSystem, "Loose"},
                                {ResourceSystemErrEngineNotFound, "Loose"}}));

    // Detach and EngineRemoved failures are reported; the engine is out of the list in every case.
    loose->m_failDetach = true;
    EXPECT_FALSE(other->RemoveEngine(loose));
    EXPECT_EQ(loose->GetSystem(), nullptr);
    ASSERT_TRUE(other->AddEngine(loose));
    loose->m_failDetach = false;
    other->m_failEngineRemoved = true;
    EXPECT_FALSE(other->RemoveEngine(loose));
    EXPECT_TRUE(other->GetEngines().Empty());
    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrDetachFailed, "Loose"},
                                {ResourceSystemErrEngineRemovedFailed, "Loose"}}));
    other->m_failEngineRemoved = false;
    EXPECT_TRUE(loose->Shutdown());
    EXPECT_TRUE(other->Shutdown());
}

TEST_F(ResourceSystemTest, SearchModes) {
    TestEngine* second = TestEngine::Make(kOtherTestEngineId, "Second");
    ASSERT_TRUE(m_system->AddEngine(second));
    m_engine->m_quick = 1;
    m_engine->m_thorough = 1;
    second->m_quick = 2;
    second->m_thorough = 3;

    // Quick: the first quick match, started or not.
    TestSearchCriterion quick(ResourceSearchCriterion::kSearchQuick);
    quick.m_value = 2;
    EXPECT_EQ(m_system->FindEngine(&quick), second);
    EXPECT_FALSE(second->IsStarted());
    EXPECT_EQ(second->m_thoroughMatches, 0);

    // Quick then thorough: only quick matches are tried thoroughly, each started for it and stopped again.
    TestSearchCriterion both(ResourceSearchCriterion::kSearchQuickThenThorough);
    both.m_value = 2;
    EXPECT_EQ(m_system->FindEngine(&both), nullptr);
    EXPECT_EQ(m_engine->m_thoroughMatches, 0);
    EXPECT_EQ(second->m_thoroughMatches, 1);
    EXPECT_EQ(second->m_activations, 1);
    EXPECT_EQ(second->m_deactivations, 1);
    EXPECT_FALSE(second->IsStarted());

    // Thorough: every engine, whatever its quick match says.
    TestSearchCriterion thorough(ResourceSearchCriterion::kSearchThorough);
    thorough.m_value = 3;
    EXPECT_EQ(m_system->FindEngine(&thorough), second);
    EXPECT_EQ(m_engine->m_thoroughMatches, 1);
    EXPECT_EQ(m_engine->m_activations, 1);
    EXPECT_EQ(m_engine->m_deactivations, 1);
    EXPECT_FALSE(m_engine->IsStarted());

    // A started engine stays started through a thorough match.
    ASSERT_TRUE(second->Start());
    EXPECT_EQ(m_system->FindEngine(&thorough), second);
    EXPECT_TRUE(second->IsStarted());

    // The wanted engine, and the search that goes on after an engine.
    m_engine->m_quick.reset();
    second->m_quick.reset();
    TestSearchCriterion wanted;
    const std::uint32_t wantedId = kOtherTestEngineId;
    wanted.SetWantedEngineId(&wantedId);
    EXPECT_EQ(m_system->FindEngine(&wanted), second);
    TestSearchCriterion any;
    EXPECT_EQ(m_system->FindNextEngine(&any, m_engine, ResourceSearchCriterion::kSearchQuick), second);
    EXPECT_EQ(m_system->FindNextEngine(&any, second, ResourceSearchCriterion::kSearchQuick), nullptr);
    TestSearchCriterion otherFamily(ResourceSearchCriterion::kSearchQuick, 0x00080000);
    EXPECT_EQ(m_system->FindEngine(&otherFamily), nullptr);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(ResourceSystemTest, OpenShareAndCloseCountTheFrontEnds) {
    EXPECT_FALSE(m_engine->IsStarted());
    auto first = std::make_unique<TestResource>();
    ASSERT_TRUE(first->Open(m_system));
    EXPECT_TRUE(m_engine->IsStarted()) << "the first open starts the engine";
    ResourceHandle* handle = first->GetHandle();
    EXPECT_EQ(handle->GetReferenceCount(), 1u);
    EXPECT_EQ(handle->GetFirstResource(), first.get());
    EXPECT_EQ(m_system->GetFirstHandle(), handle);
    EXPECT_EQ(m_engine->GetFirstHandle(), handle);

    auto second = std::make_unique<TestResource>();
    ASSERT_TRUE(second->Share(m_system, *first));
    EXPECT_EQ(second->GetHandle(), handle);
    EXPECT_EQ(handle->GetReferenceCount(), 2u);
    EXPECT_EQ(handle->GetFirstResource(), second.get());
    EXPECT_EQ(second->GetNextResource(), first.get());

    first.reset();
    EXPECT_EQ(handle->GetReferenceCount(), 1u);
    EXPECT_EQ(handle->GetFirstResource(), second.get());
    EXPECT_EQ(second->GetNextResource(), nullptr);
    EXPECT_EQ(m_system->GetFirstHandle(), handle);
    EXPECT_EQ(m_engine->GetFirstHandle(), handle);
    EXPECT_EQ(g_liveTestHandles, 1);

    second.reset();
    EXPECT_EQ(g_liveTestHandles, 0);
    EXPECT_EQ(m_system->GetFirstHandle(), nullptr);
    EXPECT_EQ(m_engine->GetFirstHandle(), nullptr);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(ResourceSystemTest, HandlesAreListedNewestFirstAndLeaveFromTheMiddle) {
    TestResource a, b, c;
    ASSERT_TRUE(a.Open(m_system));
    ASSERT_TRUE(b.Open(m_system));
    ASSERT_TRUE(c.Open(m_system));
    EXPECT_EQ(m_system->GetFirstHandle(), c.GetHandle());
    EXPECT_EQ(c.GetHandle()->GetNextOpenHandle(), b.GetHandle());
    ResourceHandle* middle = b.GetHandle();
    ASSERT_TRUE(m_system->Close(middle, &b));
    b.SetHandle(nullptr);
    EXPECT_EQ(c.GetHandle()->GetNextOpenHandle(), a.GetHandle());
    EXPECT_EQ(c.GetHandle()->GetNextEngineHandle(), a.GetHandle());
    EXPECT_EQ(g_liveTestHandles, 2);
}

// Each failing step of an open reports through every layer and leaves nothing behind.
TEST_F(ResourceSystemTest, OpenFailures) {
    struct Case {
        const char* name;
        std::function<void(TestSystem*, TestEngine*)> arrange;
        Reports expected;
    };
    const Case cases[] = {
        {"no engine matches",
         [](TestSystem*, TestEngine* e) { e->m_quick = 5; },
         {{ResourceSystemErrNoEngine, "Test System"}}},
        {"system PreOpen",
         [](TestSystem* s, TestEngine*) { s->m_failPreOpen = true; },
         {{ResourceSystemErrPreOpenRefused, "Test System"}}},
        {"engine cannot start",
         [](TestSystem*, TestEngine* e) { e->m_failActivate = true; },
         {{ResourceEngineErrActivateFailed, "Test Engine"},
          {ResourceSystemErrStartFailed, "Test Engine"},
          {ResourceSystemErrPreOpenRefused, "Test System"}}},
        {"engine PreOpen",
         [](TestSystem*, TestEngine* e) { e->m_failPreOpen = true; },
         {{ResourceEngineErrPreOpenRefused, "Test Engine"},
          {ResourceSystemErrEngineOpenFailed, "Test Engine"},
          {ResourceSystemErrOpenFailed, "Test System"}}},
        {"CreateHandle",
         [](TestSystem*, TestEngine* e) { e->m_failCreateHandle = true; },
         {{ResourceEngineErrCreateHandleFailed, "Test Engine"},
          {ResourceSystemErrEngineOpenFailed, "Test Engine"},
          {ResourceSystemErrOpenFailed, "Test System"}}},
        {"engine AttachHandle",
         [](TestSystem*, TestEngine* e) { e->m_failAttachHandle = true; },
         {{ResourceEngineErrAttachHandleFailed, "Test Engine"},
          {ResourceSystemErrEngineOpenFailed, "Test Engine"},
          {ResourceSystemErrOpenFailed, "Test System"}}},
        {"system AttachHandle",
         [](TestSystem* s, TestEngine*) { s->m_failAttachHandle = true; },
         {{ResourceSystemErrAttachHandleFailed, "Test System"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestSystem* system = TestSystem::Make();
        TestEngine* engine = TestEngine::Make();
        ASSERT_TRUE(system->AddEngine(engine));
        c.arrange(system, engine);
        TestResource front;
        TestSearchCriterion criterion;
        EXPECT_FALSE(front.Open(system, &criterion));
        EXPECT_FALSE(front.IsOpen());
        EXPECT_EQ(Taken(), c.expected);
        EXPECT_EQ(system->GetFirstHandle(), nullptr);
        EXPECT_EQ(engine->GetFirstHandle(), nullptr);
        EXPECT_EQ(g_liveTestHandles, 0);
        EXPECT_TRUE(system->Shutdown());
    }
}

// A share that fails leaves the first front-end's handle as it was: count 1, the first front-end alone in its
// chain, closed normally afterwards.
TEST_F(ResourceSystemTest, AFailedShareLeavesTheHandleAsItWas) {
    struct Case {
        const char* name;
        std::function<void(TestSystem*, TestEngine*)> arrange;
        Reports expected;
    };
    const Case cases[] = {
        {"system PreShare",
         [](TestSystem* s, TestEngine*) { s->m_failPreShare = true; },
         {{ResourceSystemErrPreShareRefused, "Test System"}}},
        {"engine PreShare",
         [](TestSystem*, TestEngine* e) { e->m_failPreShare = true; },
         {{ResourceEngineErrPreShareRefused, "Test Engine"},
          {ResourceSystemErrEngineShareFailed, "Test Engine"},
          {ResourceSystemErrShareFailed, "Test System"}}},
        {"ShareHandle",
         [](TestSystem*, TestEngine* e) { e->m_failShareHandle = true; },
         {{ResourceEngineErrShareHandleFailed, "Test Engine"},
          {ResourceSystemErrEngineShareFailed, "Test Engine"},
          {ResourceSystemErrShareFailed, "Test System"}}},
        {"PostShare",
         [](TestSystem*, TestEngine* e) { e->m_failPostShare = true; },
         {{ResourceEngineErrPostShareFailed, "Test Engine"},
          {ResourceSystemErrEngineShareFailed, "Test Engine"},
          {ResourceSystemErrShareFailed, "Test System"}}},
        {"AttachResource",
         [](TestSystem* s, TestEngine*) { s->m_failAttachResource = true; },
         {{ResourceSystemErrAttachResourceFailed, "Test System"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto first = std::make_unique<TestResource>();
        ASSERT_TRUE(first->Open(m_system));
        ResourceHandle* handle = first->GetHandle();
        c.arrange(m_system, m_engine);
        TestResource second;
        EXPECT_FALSE(second.Share(m_system, *first));
        EXPECT_FALSE(second.IsOpen());
        EXPECT_EQ(Taken(), c.expected);
        EXPECT_EQ(handle->GetReferenceCount(), 1u);
        EXPECT_EQ(handle->GetFirstResource(), first.get());
        EXPECT_EQ(first->GetNextResource(), nullptr);
        EXPECT_EQ(second.GetNextResource(), nullptr);
        EXPECT_EQ(g_liveTestHandles, 1);

        m_system->m_failPreShare = m_system->m_failAttachResource = false;
        m_engine->m_failPreShare = m_engine->m_failShareHandle = m_engine->m_failPostShare = false;
        first.reset();
        EXPECT_EQ(g_liveTestHandles, 0);
        EXPECT_TRUE(Taken().empty());
    }
}

// A handle that nobody held before the share is still closed and destroyed when the share fails.
TEST_F(ResourceSystemTest, AFailedShareDestroysANewSharedHandle) {
    m_engine->m_shareAsNewHandle = true;
    TestResource first;
    ASSERT_TRUE(first.Open(m_system));
    for (bool failInSystem : {false, true}) {
        m_engine->m_failPostShare = !failInSystem;
        m_system->m_failAttachResource = failInSystem;
        TestResource second;
        EXPECT_FALSE(second.Share(m_system, first));
        EXPECT_EQ(g_liveTestHandles, 1);
        EXPECT_EQ(first.GetHandle()->GetReferenceCount(), 1u);
        EXPECT_EQ(first.GetHandle()->GetFirstResource(), &first);
    }
    m_engine->m_failPostShare = false;
    m_system->m_failAttachResource = false;
    EXPECT_EQ(Taken().size(), 4u);
}

TEST_F(ResourceSystemTest, CloseFailuresAreReportedAndCloseGoesOn) {
    struct Case {
        const char* name;
        std::function<void(TestSystem*, TestEngine*)> arrange;
        Reports expected;
    };
    const Case cases[] = {
        {"DetachHandle",
         [](TestSystem*, TestEngine* e) { e->m_failDetachHandle = true; },
         {{ResourceEngineErrDetachHandleFailed, "Test Engine"},
          {ResourceSystemErrEngineCloseFailed, "Test Engine"},
          {ResourceSystemErrCloseFailed, "Test System"}}},
        {"DestroyHandle",
         [](TestSystem*, TestEngine* e) { e->m_failDestroyHandle = true; },
         {{ResourceEngineErrDestroyHandleFailed, "Test Engine"},
          {ResourceSystemErrEngineCloseFailed, "Test Engine"},
          {ResourceSystemErrCloseFailed, "Test System"}}},
        {"engine PostClose",
         [](TestSystem*, TestEngine* e) { e->m_failPostClose = true; },
         {{ResourceEngineErrPostCloseFailed, "Test Engine"},
          {ResourceSystemErrEngineCloseFailed, "Test Engine"},
          {ResourceSystemErrCloseFailed, "Test System"}}},
        {"system PostClose",
         [](TestSystem* s, TestEngine*) { s->m_failPostClose = true; },
         {{ResourceSystemErrPostCloseFailed, "Test System"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestSystem* system = TestSystem::Make();
        TestEngine* engine = TestEngine::Make();
        ASSERT_TRUE(system->AddEngine(engine));
        {
            TestResource front;
            ASSERT_TRUE(front.Open(system));
            c.arrange(system, engine);
        }
        EXPECT_EQ(Taken(), c.expected);
        EXPECT_EQ(g_liveTestHandles, 0);
        EXPECT_EQ(system->GetFirstHandle(), nullptr);
        EXPECT_EQ(engine->GetFirstHandle(), nullptr);
        EXPECT_TRUE(system->Shutdown());
    }
}

// A close that fails before the front-end leaves the chain keeps the handle; the front-end leaves it anyway.
TEST_F(ResourceSystemTest, AFrontEndWhoseCloseFailsStillLeavesTheChain) {
    ResourceHandle* handle = nullptr;
    {
        TestResource front;
        ASSERT_TRUE(front.Open(m_system));
        handle = front.GetHandle();
        m_system->m_failDetachResource = true;
    }
    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrDetachResourceFailed, "Test System"}}));
    EXPECT_EQ(handle->GetFirstResource(), nullptr);
    EXPECT_EQ(handle->GetReferenceCount(), 1u);
    m_system->m_failDetachResource = false;
    EXPECT_TRUE(m_system->Close(handle, nullptr));
    EXPECT_EQ(g_liveTestHandles, 0);
}

TEST_F(ResourceSystemTest, AHandleOfARemovedEngineHasNoEngineInItsSystem) {
    auto front = std::make_unique<TestResource>();
    ASSERT_TRUE(front->Open(m_system));
    ResourceHandle* handle = front->GetHandle();
    EXPECT_EQ(m_system->FindEngineForHandle(handle), m_engine);
    EXPECT_FALSE(m_system->RemoveEngine(m_engine));
    EXPECT_EQ(Taken(), (Reports{{ResourceEngineErrHandlesOpen, "Test Engine"},
                                {ResourceSystemErrStopFailed, "Test Engine"}}));
    EXPECT_EQ(m_system->FindEngineForHandle(handle), nullptr);
    TestResource sharer;
    EXPECT_EQ(m_system->Share(handle, &sharer), nullptr);

    // Destroyed now, the front-end cannot close through a system; it reports and forgets the handle.
    front.reset();
    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrNoEngine, "Test System"}, {ResourceSystemErrNoSystem}}));
    EXPECT_EQ(handle->GetFirstResource(), nullptr);
    EXPECT_EQ(handle->GetReferenceCount(), 1u);
    EXPECT_FALSE(m_engine->Shutdown());
    EXPECT_EQ(g_liveTestHandles, 0);
    EXPECT_EQ(m_system->GetFirstHandle(), nullptr);
    Taken();
}

// An engine removed while a handle is open, shut down and then its system (and the other way round): both
// end, and the front-end that still held the handle reads as closed and is destroyed cleanly.
TEST_F(ResourceSystemTest, ShutdownsAfterAnEngineLeftWithAnOpenHandle) {
    for (bool engineFirst : {true, false}) {
        SCOPED_TRACE(engineFirst ? "engine first" : "system first");
        TestSystem* system = TestSystem::Make();
        TestEngine* engine = TestEngine::Make();
        ASSERT_TRUE(system->AddEngine(engine));
        TestResource front;
        ASSERT_TRUE(front.Open(system));
        EXPECT_FALSE(system->RemoveEngine(engine));
        Taken();

        if (engineFirst) {
            EXPECT_FALSE(engine->Shutdown());
            EXPECT_EQ(Taken(), (Reports{{ResourceEngineErrDestroyHandleFailed, "Test Engine"},
                                        {ResourceEngineErrNoSystem, "Test Engine"},
                                        {ResourceEngineErrStopFailed, "Test Engine"}}));
            EXPECT_TRUE(system->Shutdown());
        } else {
            EXPECT_FALSE(system->Shutdown());
            EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrNoEngine, "Test System"},
                                        {ResourceSystemErrCloseFailed, "Test Engine"}}));
            EXPECT_FALSE(engine->Shutdown());
            EXPECT_EQ(Taken(), (Reports{{ResourceEngineErrNoSystem, "Test Engine"},
                                        {ResourceEngineErrStopFailed, "Test Engine"}}));
        }
        EXPECT_EQ(g_liveTestHandles, 0);
        EXPECT_FALSE(front.IsOpen());
        EXPECT_EQ(front.Value(), 0u);
        EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrNoHandle}}));
    }
}

// Shutdown closes the handles that live front-ends hold; the front-ends are detached, used and destroyed
// later.
TEST_F(ResourceSystemTest, ShutdownDetachesTheFrontEndsItCloses) {
    TestEngine* second = TestEngine::Make(kOtherTestEngineId, "Second");
    ASSERT_TRUE(m_system->AddEngine(second));
    TestResource a, b, c;
    ASSERT_TRUE(a.Open(m_system));
    ASSERT_TRUE(b.Share(m_system, a));
    TestSearchCriterion onSecond;
    const std::uint32_t secondId = kOtherTestEngineId;
    onSecond.SetWantedEngineId(&secondId);
    ASSERT_TRUE(c.Open(m_system, &onSecond));

    EXPECT_TRUE(m_system->Shutdown());
    m_system = nullptr;
    EXPECT_EQ(g_liveTestHandles, 0);
    EXPECT_EQ(g_liveTestEngines, 0);
    for (TestResource* front : {&a, &b, &c}) {
        EXPECT_FALSE(front->IsOpen());
        EXPECT_FALSE(front->SetFlag());
    }
    EXPECT_EQ(Taken(), Reports(3, {ResourceSystemErrNoHandle}));
}

TEST_F(ResourceSystemTest, ShutdownGivesUpAHandleItCannotClose) {
    TestResource a, b;
    ASSERT_TRUE(a.Open(m_system));
    ASSERT_TRUE(b.Share(m_system, a));
    m_system->m_failDetachResource = true;
    EXPECT_FALSE(m_system->Shutdown());
    m_system = nullptr;
    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrDetachResourceFailed, "Test System"},
                                {ResourceSystemErrCloseFailed, "Test Engine"}}));
    EXPECT_FALSE(a.IsOpen());
    EXPECT_FALSE(b.IsOpen());
    EXPECT_EQ(g_liveTestHandles, 0);
}

TEST_F(ResourceSystemTest, ShutdownReportsFailingEnginesAndTermination) {
    m_engine->m_failTerminate = true;
    TestEngine* stubborn = TestEngine::Make(kOtherTestEngineId, "Stubborn");
    ASSERT_TRUE(m_system->AddEngine(stubborn));
    ASSERT_TRUE(stubborn->Start());
    stubborn->m_failDeactivate = true;
    m_system->m_failTerminate = true;
    EXPECT_FALSE(m_system->Shutdown());
    m_system = nullptr;
    EXPECT_EQ(Taken(), (Reports{{ResourceEngineErrTerminateFailed, "Test Engine"},
                                {ResourceSystemErrEngineShutdownFailed, "Test Engine"},
                                {ResourceEngineErrDeactivateFailed, "Stubborn"},
                                {ResourceSystemErrStopFailed, "Stubborn"},
                                {ResourceSystemErrRemoveEngineFailed, "Stubborn"},
                                {ResourceSystemErrTerminateFailed, "Test System"}}));
}

TEST_F(ResourceSystemTest, CreateRunsInitialize) {
    ResourceSystem* plain = ResourceSystem::Create();
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->GetTypeId(), 0u);
    EXPECT_STREQ(plain->GetName().CStr(), "Resource System");
    EXPECT_TRUE(plain->Shutdown());

    auto* failing = new TestSystem(kTestFamilyId, "Failing");
    failing->m_failInitialize = true;
    EXPECT_EQ(ResourceSystem::Create(failing), nullptr);
    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrInitializeFailed, "Failing"}}));
    delete failing;
}

TEST_F(ResourceSystemTest, UpdateReachesEveryHandle) {
    TestResource a, b;
    ASSERT_TRUE(a.Open(m_system));
    ASSERT_TRUE(b.Open(m_system));
    m_system->Update();
    m_system->Update();
    EXPECT_EQ(static_cast<TestHandle*>(a.GetHandle())->m_updates, 2);
    EXPECT_EQ(static_cast<TestHandle*>(b.GetHandle())->m_updates, 2);
}

TEST_F(ResourceSystemTest, VisitResourcesWalksTheChainNewestFirst) {
    class Collect : public ResourceEnumerator {
    public:
        void VisitResource(Resource* resource) override { m_visited.push_back(resource); }
        std::vector<Resource*> m_visited;
    };
    TestResource a, b, c;
    ASSERT_TRUE(a.Open(m_system));
    ASSERT_TRUE(b.Share(m_system, a));
    ASSERT_TRUE(c.Share(m_system, a));
    Collect collect;
    a.GetHandle()->VisitResources(collect);
    EXPECT_EQ(collect.m_visited, (std::vector<Resource*>{&c, &b, &a}));
}

// What a front-end is told may close front-ends of its handle, its own among them, and open new ones: one
// closed before its turn is not visited, one opened meanwhile waits for the next walk, and a walk whose
// handle goes with its last front-end stops there.
TEST_F(ResourceSystemTest, AVisitMayCloseAndOpenFrontEndsOfTheChain) {
    class Act : public ResourceEnumerator {
    public:
        void VisitResource(Resource* resource) override {
            m_visited.push_back(resource);
            if (m_action) {
                m_action(resource);
            }
            m_stillChained.push_back(VisitedStillChained());
        }
        std::function<void(Resource*)> m_action;
        std::vector<Resource*> m_visited;
        std::vector<bool> m_stillChained;
    };
    auto* a = new TestResource;
    auto* b = new TestResource;
    auto* c = new TestResource;
    auto* d = new TestResource;
    ASSERT_TRUE(a->Open(m_system));
    ASSERT_TRUE(b->Share(m_system, *a));
    ASSERT_TRUE(c->Share(m_system, *a));
    ResourceHandle* handle = a->GetHandle();

    Act closeNextOpenNew;
    closeNextOpenNew.m_action = [&](Resource* visited) {
        if (visited == c) {
            delete b;
            ASSERT_TRUE(d->Share(m_system, *a));
        }
    };
    handle->VisitResources(closeNextOpenNew);
    EXPECT_EQ(closeNextOpenNew.m_visited, (std::vector<Resource*>{c, a}));
    EXPECT_EQ(closeNextOpenNew.m_stillChained, (std::vector<bool>{true, true}));

    Act closeItself;
    closeItself.m_action = [&](Resource* visited) {
        if (visited == c) {
            delete c;
        }
    };
    handle->VisitResources(closeItself);
    EXPECT_EQ(closeItself.m_visited, (std::vector<Resource*>{d, c, a}));
    EXPECT_EQ(closeItself.m_stillChained, (std::vector<bool>{true, false, true}));

    // d and a are the last two: closing both destroys the handle under the walk.
    Act closeAll;
    closeAll.m_action = [&](Resource*) {
        delete a;
        delete d;
    };
    handle->VisitResources(closeAll);
    EXPECT_EQ(closeAll.m_visited, (std::vector<Resource*>{d}));
    EXPECT_EQ(closeAll.m_stillChained, (std::vector<bool>{false}));
    EXPECT_EQ(Taken(), Reports{});
}

} // namespace
