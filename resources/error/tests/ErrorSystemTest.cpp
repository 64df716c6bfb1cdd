#include "resources/error/ErrorSystem.h"

#include "resources/error/ErrorEngine.h"
#include "resources/error/ErrorHandle.h"
#include "resources/error/ErrorSearchCriterion.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace Vemo;
using VemoTest::RecordingErrorEngine;
using VemoTest::Reported;
using VemoTest::Reports;
using VemoTest::TestApplication;

TEST(ErrorSystemTest, FactoriesMakeTheErrorFamily) {
    TestApplication application(TestApplication::ErrorSetup::kNone);
    ErrorSystem* system = ErrorSystem::Create();
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->GetTypeId(), 0x00010000u);
    EXPECT_STREQ(system->GetName().CStr(), "Error System");
    ErrorEngine* engine = ErrorEngine::Create();
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->GetTypeId(), 0x00010000u);
    EXPECT_STREQ(engine->GetName().CStr(), "Error Engine");
    EXPECT_TRUE(system->AddEngine(engine));
    EXPECT_TRUE(system->Shutdown());
}

TEST(ErrorSystemTest, ErrorHandleAtCountsFromTheNewest) {
    TestApplication application;
    RaiseError(ErrorSystemErrNoIndex);
    RaiseError(ErrorSystemErrNoScope);
    RaiseError(ErrorSystemErrNotFound);
    application.TakeReports();

    ErrorSystem* system = application.ErrorSystem();
    ErrorEngine* engine = application.ErrorEngine();
    EXPECT_EQ(system->ErrorHandleAt(0)->Code(), ErrorSystemErrNotFound);
    EXPECT_EQ(system->ErrorHandleAt(2)->Code(), ErrorSystemErrNoIndex);
    EXPECT_EQ(engine->ErrorHandleAt(0)->Code(), ErrorSystemErrNotFound);
    EXPECT_EQ(engine->ErrorHandleAt(2)->Code(), ErrorSystemErrNoIndex);
    EXPECT_EQ(system->ErrorHandleAt(3), nullptr);
    // That report is logged like any other and is now the newest.
    EXPECT_EQ(engine->ErrorHandleAt(0)->Code(), ErrorSystemErrIndexOutOfRange);
    EXPECT_EQ(engine->ErrorHandleAt(4), nullptr);
    EXPECT_EQ(application.TakeReports(),
              (Reports{{ErrorSystemErrIndexOutOfRange}, {ErrorSystemErrIndexOutOfRange}}));
}

TEST(ErrorSystemTest, AReportedErrorStaysLoggedWithCountOneAfterItsErrorIsGone) {
    TestApplication application;
    ErrorHandle* handle = nullptr;
    {
        Error error;
        error.Report(ResourceSystemErrNoHandle);
        handle = error.GetErrorHandle();
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(handle->GetReferenceCount(), 2u);
        EXPECT_EQ(handle->GetFirstResource(), &error);
    }
    EXPECT_EQ(handle->GetReferenceCount(), 1u);
    EXPECT_EQ(handle->GetFirstResource(), nullptr);
    EXPECT_EQ(application.ErrorSystem()->GetLog().At(0), handle);
    EXPECT_EQ(application.ErrorEngine()->GetLog().At(0), handle);
    EXPECT_EQ(application.ErrorSystem()->GetFirstHandle(), handle);
    EXPECT_EQ(application.ErrorEngine()->GetFirstHandle(), handle);
}

// Without a usable engine the open fails and reports again; the nested reports are dropped and every report
// ends without a handle (and, under the sanitizers, without a leak).
TEST(ErrorSystemTest, AFailingErrorSystemCannotRecurse) {
    struct Case {
        const char* name;
        TestApplication::ErrorSetup setup;
        bool failCreate;
        bool failPreShare;
        bool failPostShare;
    };
    const Case cases[] = {
        {"no error engine", TestApplication::ErrorSetup::kNoEngine, false, false, false},
        {"CreateErrorHandle fails", TestApplication::ErrorSetup::kRecording, true, false, false},
        {"the share of a new handle is refused", TestApplication::ErrorSetup::kRecording, false, true, false},
        {"the share of a new handle fails late", TestApplication::ErrorSetup::kRecording, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApplication application(c.setup);
        if (RecordingErrorEngine* engine = application.ErrorEngine()) {
            engine->m_failCreate = c.failCreate;
            engine->m_failPreShare = c.failPreShare;
            engine->m_failPostShare = c.failPostShare;
        }
        Error error;
        error.Report(ResourceSystemErrOpenFailed);
        EXPECT_FALSE(error.IsOpen());
        RaiseError(ResourceSystemErrNoSystem);
        EXPECT_EQ(application.ErrorSystem()->GetLog().Count(), 0u);
        EXPECT_EQ(application.ErrorSystem()->GetFirstHandle(), nullptr);
        // Only the two outer reports reach the engine; what failed inside them was dropped.
        const std::size_t expected = c.setup == TestApplication::ErrorSetup::kRecording ? 2u : 0u;
        EXPECT_EQ(application.TakeReports().size(), expected);
    }
}

TEST(ErrorSystemTest, AReportMadeWhileAReportIsOpenedIsDropped) {
    class NestingEngine : public RecordingErrorEngine {
    public:
        using RecordingErrorEngine::RecordingErrorEngine;
        ErrorHandle* CreateErrorHandle(std::uint32_t low, std::uint32_t high, const String* text) override {
            m_nested.Report(ErrorSystemErrShareFailed);
            return RecordingErrorEngine::CreateErrorHandle(low, high, text);
        }
        Error m_nested;
    };
    Reports reports;
    TestApplication application(TestApplication::ErrorSetup::kNoEngine);
    auto* engine = new NestingEngine(&reports, "Nesting Engine");
    ASSERT_TRUE(application.ErrorSystem()->AddEngine(ErrorEngine::Create(engine)));

    Error error;
    error.Report(ErrorSystemErrNotFound);
    EXPECT_TRUE(error.IsOpen());
    EXPECT_FALSE(engine->m_nested.IsOpen());
    EXPECT_EQ(reports, (Reports{{ErrorSystemErrNotFound}}));
    EXPECT_EQ(application.ErrorSystem()->GetLog().Count(), 1u);
}

TEST(ErrorSystemTest, OpeningWithoutACodeReportsEachLayer) {
    TestApplication application;
    ErrorSearchCriterion criterion;
    criterion.SetCreate(true);
    Error front;
    EXPECT_EQ(application.ErrorSystem()->Open(&criterion, &front), nullptr);
    EXPECT_EQ(application.TakeReports(),
              (Reports{{ErrorEngineErrNoCode},
                       {ResourceEngineErrCreateHandleFailed, "Recording Error Engine"},
                       {ResourceSystemErrEngineOpenFailed, "Recording Error Engine"},
                       {ResourceSystemErrOpenFailed, "Error System"}}));
}

TEST(ErrorSystemTest, AnEngineThatMakesNoHandleReportsEachLayer) {
    TestApplication application;
    application.ErrorEngine()->m_failCreate = true;
    const ErrorCode code = ErrorSystemErrNotFound;
    ErrorSearchCriterion criterion;
    criterion.SetCreate(true);
    criterion.SetCode(&code);
    Error front;
    EXPECT_EQ(application.ErrorSystem()->Open(&criterion, &front), nullptr);
    // Each report is offered to the failing engine too, which records it before it fails.
    EXPECT_EQ(application.TakeReports(),
              (Reports{{ErrorSystemErrNotFound},
                       {ErrorEngineErrCreateFailed},
                       {ResourceEngineErrCreateHandleFailed, "Recording Error Engine"},
                       {ResourceSystemErrEngineOpenFailed, "Recording Error Engine"},
                       {ResourceSystemErrOpenFailed, "Error System"}}));
    EXPECT_EQ(application.ErrorSystem()->GetLog().Count(), 0u);
    EXPECT_EQ(application.ErrorSystem()->GetFirstHandle(), nullptr);
}

TEST(ErrorSystemTest, AnEngineWithoutASystemMakesNoErrorHandle) {
    TestApplication application;
    ErrorEngine* loose = ErrorEngine::Create();
    ASSERT_NE(loose, nullptr);
    const String text("lost");
    EXPECT_EQ(loose->CreateErrorHandle(0x00000003u, 0x01010001u, &text), nullptr);
    EXPECT_EQ(application.TakeReports(), (Reports{{ResourceSystemErrNoSystem}}));
    EXPECT_TRUE(loose->Shutdown());
}

TEST(ErrorSystemTest, ReopeningNeedsAnIndexAndAScope) {
    TestApplication application;
    RaiseError(ErrorSystemErrNoIndex);
    application.TakeReports();
    const std::uint32_t index = 0;
    const bool systemWide = true;

    ErrorSearchCriterion noIndex;
    noIndex.SetSystemWide(&systemWide);
    ErrorSearchCriterion noScope;
    noScope.SetIndex(&index);
    Error front;
    EXPECT_EQ(application.ErrorSystem()->Open(&noIndex, &front), nullptr);
    EXPECT_EQ(application.ErrorSystem()->Open(&noScope, &front), nullptr);
    EXPECT_EQ(application.TakeReports(), (Reports{{ErrorSystemErrNoIndex}, {ErrorSystemErrNoScope}}));
}

TEST(ErrorSystemTest, ReopeningInAnEngineLogNeedsAnEngine) {
    TestApplication application;
    RaiseError(ErrorSystemErrNoIndex);
    RecordingErrorEngine* engine = application.ErrorEngine();
    // The engine still holds the logged error: it cannot be stopped, and leaves the system all the same.
    EXPECT_FALSE(application.ErrorSystem()->RemoveEngine(engine));
    EXPECT_EQ(engine->GetSystem(), nullptr);
    application.TakeReports();

    Error error;
    EXPECT_EQ(error.OpenReported(0, false), ErrorCodeFailure);
    EXPECT_EQ(error.OpenReported(0, true), ErrorCodeFailure) << "the handle's engine has left the system";
    // The error system has no engine left to log these in; its failures show only in the outcome.
    EXPECT_TRUE(application.TakeReports().empty());
    // The removed engine still holds its logged handle; its shutdown gives it up, and the log forgets it.
    EXPECT_FALSE(engine->Shutdown());
    EXPECT_EQ(application.ErrorSystem()->GetLog().Count(), 0u);
    EXPECT_EQ(application.ErrorSystem()->GetFirstHandle(), nullptr);
}

TEST(ErrorSystemTest, ShutdownDestroysTheLoggedErrorsAndDetachesTheirErrors) {
    auto application = std::make_unique<TestApplication>();
    RaiseError(ErrorSystemErrNoIndex);
    RaiseError(ErrorSystemErrNoScope);
    Error held;
    held.Report(ErrorSystemErrNotFound);
    Error reopened;
    ASSERT_EQ(reopened.OpenReported(1, true), ErrorSystemErrNoScope);

    application->ShutdownErrorSystem();
    EXPECT_FALSE(held.IsOpen());
    EXPECT_FALSE(reopened.IsOpen());
    EXPECT_EQ(reopened.Code(), ErrorCodeFailure);
    application.reset();
}

TEST(ErrorSystemTest, TheLogsAreBounded) {
    TestApplication application;
    ErrorSystem* system = application.ErrorSystem();
    RaiseError(MakeErrorCode(kErrorSystemFacility, 1000));
    Error keeper;
    ASSERT_EQ(keeper.OpenReported(0, true), MakeErrorCode(kErrorSystemFacility, 1000));
    ErrorHandle* oldest = keeper.GetErrorHandle();

    for (std::uint32_t i = 1; i < ErrorSystem::kMaxLoggedErrors + 3; ++i) {
        RaiseError(MakeErrorCode(kErrorSystemFacility, static_cast<std::uint16_t>(i)));
    }
    EXPECT_EQ(system->GetLog().Count(), ErrorSystem::kMaxLoggedErrors);
    EXPECT_EQ(application.ErrorEngine()->GetLog().Count(), ErrorSystem::kMaxLoggedErrors);
    EXPECT_EQ(system->ErrorHandleAt(0)->Code(),
              MakeErrorCode(kErrorSystemFacility, ErrorSystem::kMaxLoggedErrors + 2));
    EXPECT_EQ(system->ErrorHandleAt(ErrorSystem::kMaxLoggedErrors - 1)->Code(),
              MakeErrorCode(kErrorSystemFacility, 3));

    // The oldest error left both logs but lives on for the Error that holds it.
    EXPECT_EQ(keeper.GetErrorHandle(), oldest);
    EXPECT_EQ(oldest->GetReferenceCount(), 1u);
    EXPECT_EQ(keeper.Code(), MakeErrorCode(kErrorSystemFacility, 1000));
}

} // namespace
