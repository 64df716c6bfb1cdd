#include "engines/graphics/GraphicSystem.h"

#include "engines/graphics/Graphic.h"
#include "engines/graphics/GraphicEngine.h"
#include "engines/graphics/GraphicErrorCodes.h"
#include "engines/graphics/GraphicSearchCriterion.h"
#include "engines/graphics/Viewport.h"
#include "engines/graphics/ViewportDescription.h"
#include "engines/graphics/testing/GraphicFamilyFixture.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorFacilities.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

ViewportDescription Window(std::uint32_t backBuffers) {
    return ViewportDescription("Test", Point(10, 20), false, Size(64, 48), true, false, true, true, false, 7,
                               1, 1, backBuffers, true, true);
}

std::vector<Graphic*> Listed(GraphicHandle* handle) {
    return std::vector<Graphic*>(handle->GetGraphics().begin(), handle->GetGraphics().end());
}

std::vector<Viewport*> Listed(ViewportHandle* handle) {
    return std::vector<Viewport*>(handle->GetViewports().begin(), handle->GetViewports().end());
}

using GraphicSystemTest = GraphicFamilyFixture;

TEST(GraphicSystemFactoryTest, MakesTheFamilysSystemAndEngineOrStartsTheGivenOnes) {
    TestApplication application;
    GraphicSystem* system = GraphicSystem::Create();
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->GetName().Compare("Graphic System"), 0);
    EXPECT_EQ(system->GetTypeId(), 0x01000000u);
    auto* given = new GraphicSystem(kGraphicTypeId, "Given");
    EXPECT_EQ(GraphicSystem::Create(given), given);

    GraphicEngine* engine = GraphicEngine::Create();
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->GetName().Compare("Graphic Engine"), 0);
    EXPECT_EQ(engine->GetTypeId(), 0x01000000u);
    EXPECT_EQ(engine->CreateHandle(nullptr, nullptr), nullptr);

    EXPECT_TRUE(system->AddEngine(engine));
    EXPECT_TRUE(system->Shutdown());
    EXPECT_TRUE(given->Shutdown());
    EXPECT_TRUE(application.TakeReports().empty());
}

TEST_F(GraphicSystemTest, RefusesCriteriaOfOtherFamiliesAndUnknownKinds) {
    ResourceSearchCriterion storage(kStorageTypeId, ResourceSearchCriterion::kSearchQuick);
    EXPECT_EQ(m_system->Open(&storage, nullptr), nullptr);
    EXPECT_EQ(m_system->Open(nullptr, nullptr), nullptr);
    EXPECT_EQ(Taken(), (Reports{GraphicSystemErrNotGraphicCriterion, GraphicSystemErrNotGraphicCriterion}));

    GraphicSearchCriterion third(3);
    EXPECT_EQ(m_system->Open(&third, nullptr), nullptr);
    // A viewport request must say what to open.
    GraphicSearchCriterion undescribed(GraphicSearchCriterion::kViewport);
    EXPECT_EQ(m_system->Open(&undescribed, nullptr), nullptr);
    EXPECT_EQ(Taken(), (Reports{GraphicSystemErrUnknownKind, GraphicSystemErrUnknownKind}));
    EXPECT_TRUE(m_engine->m_requests.empty());
}

TEST_F(GraphicSystemTest, AHandleOfTheWrongClassIsClosedBeforeTheErrorNamesTheWantedClass) {
    m_engine->m_swapKinds = true;
    Viewport viewport;
    EXPECT_FALSE(viewport.Open(Window(0)));
    EXPECT_FALSE(viewport.IsOpen());
    EXPECT_EQ(Taken(),
              (Reports{{GraphicSystemErrWrongHandleClass, "ViewportHandle"}, ResourceSystemErrOpenFailed}));
    EXPECT_EQ(g_liveGraphicTestHandles, 0);

    Graphic graphic;
    EXPECT_FALSE(graphic.Open(8, 8, nullptr, GraphicSystem::Memory::System, 1));
    EXPECT_FALSE(graphic.IsOpen());
    EXPECT_EQ(Taken(),
              (Reports{{GraphicSystemErrWrongHandleClass, "GraphicHandle"}, ResourceSystemErrOpenFailed}));
    EXPECT_EQ(g_liveGraphicTestHandles, 0);
    EXPECT_EQ(m_system->GetFirstHandle(), nullptr);
}

TEST_F(GraphicSystemTest, NoHandleFromTheEnginesIsReportedWithTheSystemsName) {
    m_engine->m_failCreateHandle = true;
    Graphic graphic;
    EXPECT_FALSE(graphic.Open(8, 8, nullptr, GraphicSystem::Memory::System, 1));
    EXPECT_EQ(Taken(), (Reports{{ResourceEngineErrCreateHandleFailed, "Memory Graphic Engine"},
                                {ResourceSystemErrEngineOpenFailed, "Memory Graphic Engine"},
                                {ResourceSystemErrOpenFailed, "Graphic System"},
                                {ResourceSystemErrOpenFailed, "Graphic System"},
                                ResourceSystemErrOpenFailed}));

    // The family's base engine makes no handles.
    const std::uint32_t baseEngine = kGraphicTypeId;
    GraphicSearchCriterion criterion(GraphicSearchCriterion::kGraphic);
    criterion.SetWantedEngineId(&baseEngine);
    EXPECT_EQ(m_system->Open(&criterion, nullptr), nullptr);
    EXPECT_EQ(Taken(), (Reports{{ResourceSystemErrNoEngine, "Graphic System"},
                                {ResourceSystemErrOpenFailed, "Graphic System"}}));
}

TEST_F(GraphicSystemTest, AViewportWhoseWindowDoesNotOpenIsClosedWithoutAReportOfItsOwn) {
    m_engine->m_failOpenWindow = true;
    Viewport viewport;
    EXPECT_FALSE(viewport.Open(Window(1)));
    EXPECT_EQ(Taken(), (Reports{ResourceSystemErrOpenFailed}));
    EXPECT_EQ(g_liveGraphicTestHandles, 0);
}

TEST_F(GraphicSystemTest, AViewportOpensItsWindowWithTheDescriptionItWasGiven) {
    Viewport viewport;
    const ViewportDescription description = Window(1);
    ASSERT_TRUE(viewport.Open(description));
    auto* handle = dynamic_cast<TestViewportHandle*>(viewport.GetViewportHandle());
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(*handle->GetDescription(), description);
    EXPECT_EQ(handle->TakeLog(),
              (std::vector<std::string>{"OpenWindow", "GetBufferHandle 0", "GetBufferHandle 1"}));
    ASSERT_EQ(handle->m_buffers.size(), 2u);
    EXPECT_EQ(handle->m_buffers[1]->GetReferenceCount(), 1u);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(GraphicSystemTest, AGraphicOnAViewportBufferSharesTheBuffersHandle) {
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(Window(1)));
    auto* handle = dynamic_cast<TestViewportHandle*>(viewport.GetViewportHandle());
    handle->TakeLog();

    // The last buffer's index equals the back-buffer count.
    Graphic back;
    ASSERT_TRUE(back.OpenOnViewport(&viewport, 1, 1));
    EXPECT_EQ(back.GetGraphicHandle(), handle->m_buffers[1]);
    EXPECT_EQ(back.GetGraphicHandle()->GetReferenceCount(), 2u);
    EXPECT_EQ(Listed(back.GetGraphicHandle()), (std::vector<Graphic*>{&back}));
    EXPECT_EQ(handle->TakeLog(), (std::vector<std::string>{"GetBufferHandle 1 logical"}));

    Graphic beyond;
    EXPECT_FALSE(beyond.OpenOnViewport(&viewport, 2, 0));
    const std::uint32_t index = 2;
    GraphicSearchCriterion criterion(GraphicSearchCriterion::kGraphic);
    criterion.m_viewportHandle = handle;
    criterion.m_bufferIndex = &index;
    EXPECT_EQ(m_system->Open(&criterion, nullptr), nullptr);
    EXPECT_EQ(Taken(), (Reports{GraphicSystemErrBufferIndex, GraphicSystemErrBufferIndex}));
}

TEST_F(GraphicSystemTest, ABufferWithoutHandleIsMadeByTheEngineOnceAndSharedAfterwards) {
    m_engine->m_viewportsOpenBuffers = false;
    Viewport viewport;
    ASSERT_TRUE(viewport.Open(Window(0)));
    auto* handle = dynamic_cast<TestViewportHandle*>(viewport.GetViewportHandle());
    EXPECT_TRUE(handle->m_buffers.empty());

    Graphic first;
    Graphic second;
    ASSERT_TRUE(first.OpenOnViewport(&viewport, 0, 0));
    ASSERT_TRUE(second.OpenOnViewport(&viewport, 0, 0));
    ASSERT_EQ(handle->m_buffers.size(), 1u);
    EXPECT_EQ(first.GetGraphicHandle(), handle->m_buffers[0]);
    EXPECT_EQ(second.GetGraphicHandle(), handle->m_buffers[0]);
    EXPECT_EQ(first.GetSize().width, 64);
    EXPECT_EQ(Listed(first.GetGraphicHandle()), (std::vector<Graphic*>{&first, &second}));
    const GraphicRequest& made = m_engine->m_requests.back();
    EXPECT_EQ(made.viewportHandle, handle);
    EXPECT_EQ(made.bufferIndex, 0u);
    EXPECT_EQ(made.bufferFlag, 0u);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(GraphicSystemTest, HandlesListTheirFrontEndsInOrderOfAttachmentUntilTheyLeave) {
    auto first = std::make_unique<Graphic>();
    Graphic second;
    Graphic third;
    ASSERT_TRUE(first->Open(4, 4, nullptr, GraphicSystem::Memory::System, 1));
    ASSERT_TRUE(second.OpenOnGraphic(*first));
    ASSERT_TRUE(third.OpenOnGraphic(second));
    GraphicHandle* handle = first->GetGraphicHandle();
    EXPECT_EQ(Listed(handle), (std::vector<Graphic*>{first.get(), &second, &third}));
    first.reset();
    EXPECT_EQ(Listed(handle), (std::vector<Graphic*>{&second, &third}));
    EXPECT_EQ(handle->GetReferenceCount(), 2u);

    auto one = std::make_unique<Viewport>();
    Viewport other;
    ASSERT_TRUE(one->Open(Window(0)));
    ASSERT_TRUE(other.OpenOnViewport(*one));
    ViewportHandle* viewportHandle = one->GetViewportHandle();
    EXPECT_EQ(other.GetViewportHandle(), viewportHandle);
    EXPECT_EQ(Listed(viewportHandle), (std::vector<Viewport*>{one.get(), &other}));
    one.reset();
    EXPECT_EQ(Listed(viewportHandle), (std::vector<Viewport*>{&other}));
    EXPECT_TRUE(Taken().empty());
}

} // namespace
