#include "resources/error/Error.h"

#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace Vemo;
using VemoTest::Reported;
using VemoTest::Reports;
using VemoTest::TestApplication;

TEST(ErrorTest, AnErrorNeverReportedReadsAsAFailureWithoutFields) {
    TestApplication application;
    Error error;
    EXPECT_FALSE(error.IsOpen());
    EXPECT_EQ(error.Code(), ErrorCodeFailure);
    EXPECT_FALSE(error.IsError());
    EXPECT_FALSE(error.IsSuccess());
    EXPECT_EQ(error.Text(), nullptr);
    EXPECT_EQ(error.Facility(), FacilityNone);
    EXPECT_EQ(error.Number(), 0);
    EXPECT_EQ(error.Severity(), 0);
    EXPECT_EQ(error.Kind(), 0);
}

TEST(ErrorTest, AReportedErrorAnswersFromItsHandle) {
    TestApplication application;
    Error error;
    const String name("Resource System");
    error.Report(ResourceSystemErrOpenFailed, &name);

    ASSERT_TRUE(error.IsOpen());
    ASSERT_NE(error.GetErrorHandle(), nullptr);
    EXPECT_EQ(error.Code(), 0x0101000000000011u);
    EXPECT_EQ(VemoTest::Text(error.Text()), "Resource System");
    EXPECT_TRUE(error.IsError());
    EXPECT_FALSE(error.IsSuccess());
    EXPECT_EQ(error.Number(), 17);
    EXPECT_EQ(error.Kind(), 1);
    EXPECT_EQ(error.Severity(), 1);
    EXPECT_EQ(error.Facility(), 0x0000000100000000u);
    EXPECT_EQ(application.TakeReports(), (Reports{{ResourceSystemErrOpenFailed, "Resource System"}}));
}

TEST(ErrorTest, TheReportTakesTheCodeInTwoHalves) {
    TestApplication application;
    Error error;
    error.Report(0x00000011u, 0x01010000u, nullptr);
    EXPECT_EQ(error.Code(), ResourceSystemErrOpenFailed);
}

TEST(ErrorTest, ASecondReportKeepsTheFirstCodeAndText) {
    TestApplication application;
    Error error;
    error.Report(ErrorSystemErrNoIndex, String("first"));
    error.Report(ErrorSystemErrNoScope, String("second"));
    EXPECT_EQ(error.Code(), ErrorSystemErrNoIndex);
    EXPECT_EQ(VemoTest::Text(error.Text()), "first");
    EXPECT_EQ(application.TakeReports().size(), 1u);
}

TEST(ErrorTest, AReportWithoutTextHasNoText) {
    TestApplication application;
    Error error;
    error.Report(ResourceSystemErrNoHandle);
    ASSERT_TRUE(error.IsOpen());
    EXPECT_EQ(error.Text(), nullptr);
}

TEST(ErrorTest, TheReportedTextIsACopy) {
    TestApplication application;
    String text("before");
    Error error;
    error.Report(ResourceSystemErrNoHandle, &text);
    text.Append(" and after");
    text.SetAt(0, 'B');
    EXPECT_EQ(VemoTest::Text(error.Text()), "before");
}

TEST(ErrorTest, ASuccessCodeIsNoError) {
    TestApplication application;
    Error error;
    error.Report(ErrorCodeSuccess);
    ASSERT_TRUE(error.IsOpen());
    EXPECT_TRUE(error.IsSuccess());
    EXPECT_FALSE(error.IsError());
    EXPECT_EQ(error.Code(), ErrorCodeSuccess);
}

TEST(ErrorTest, ReportingWithoutAnErrorSystemIsSilent) {
    TestApplication application(TestApplication::ErrorSetup::kNone);
    Error error;
    error.Report(ResourceSystemErrOpenFailed);
    EXPECT_FALSE(error.IsOpen());
    EXPECT_EQ(error.Code(), ErrorCodeFailure);
}

// Static initialisers and exit-time destructors report while no application object exists.
TEST(ErrorTest, ReportingWithoutAnApplicationObjectIsSilent) {
    ASSERT_EQ(ApplicationSystems::Current(), nullptr);
    Error error;
    error.Report(ResourceSystemErrOpenFailed);
    EXPECT_FALSE(error.IsOpen());
    EXPECT_EQ(error.OpenReported(0, true), ErrorCodeFailure);
    RaiseError(ResourceSystemErrNoSystem);
}

TEST(ErrorTest, EveryErrorTakesTheNextResourceSerial) {
    Error first;
    Error second;
    EXPECT_EQ(second.GetSerial(), first.GetSerial() + 1);
}

TEST(ErrorTest, RaiseErrorLeavesTheErrorLoggedWithTheLogsReferenceOnly) {
    TestApplication application;
    const String text("raised");
    RaiseError(ResourceSystemErrNotSupported, &text);
    ASSERT_EQ(application.ErrorSystem()->GetLog().Count(), 1u);
    ErrorHandle* logged = application.ErrorSystem()->GetLog().At(0);
    EXPECT_EQ(logged->Code(), ResourceSystemErrNotSupported);
    EXPECT_EQ(logged->GetReferenceCount(), 1u);
    EXPECT_EQ(logged->GetFirstResource(), nullptr);
}

TEST(ErrorTest, OpenReportedSharesTheNewestErrorUntilItIsDestroyed) {
    TestApplication application;
    RaiseError(ErrorSystemErrNoIndex);
    RaiseError(ErrorSystemErrNoScope);
    ErrorHandle* newest = application.ErrorSystem()->GetLog().At(0);
    ASSERT_EQ(newest->GetReferenceCount(), 1u);
    {
        Error reopened;
        EXPECT_EQ(reopened.OpenReported(0, true), ErrorSystemErrNoScope);
        EXPECT_EQ(reopened.GetErrorHandle(), newest);
        EXPECT_EQ(newest->GetReferenceCount(), 2u);
        EXPECT_EQ(reopened.OpenReported(1, true), ErrorCodeFailure) << "an open Error is not reopened";
    }
    EXPECT_EQ(newest->GetReferenceCount(), 1u);

    Error fromEngine;
    EXPECT_EQ(fromEngine.OpenReported(1, false), ErrorSystemErrNoIndex);
    EXPECT_EQ(application.TakeReports(), (Reports{{ErrorSystemErrNoIndex}, {ErrorSystemErrNoScope}}));
}

TEST(ErrorTest, OpenReportedPastTheLogReportsAndFails) {
    TestApplication application;
    RaiseError(ErrorSystemErrNoIndex);
    application.TakeReports();

    Error systemWide;
    EXPECT_EQ(systemWide.OpenReported(1, true), ErrorCodeFailure);
    EXPECT_FALSE(systemWide.IsOpen());
    Error perEngine;
    EXPECT_EQ(perEngine.OpenReported(5, false), ErrorCodeFailure);
    EXPECT_FALSE(perEngine.IsOpen());
    EXPECT_EQ(application.TakeReports(), (Reports{{ErrorSystemErrIndexOutOfRange},
                                                  {ErrorSystemErrNotFound, "Error System"},
                                                  {ErrorSystemErrIndexOutOfRange},
                                                  {ErrorSystemErrNotFound, "Recording Error Engine"}}));
}

TEST(ErrorTest, OpenReportedWithoutAnErrorSystemFails) {
    TestApplication application(TestApplication::ErrorSetup::kNone);
    Error error;
    EXPECT_EQ(error.OpenReported(0, true), ErrorCodeFailure);
}

// The error system detaches the Errors that still hold its handles; they are used and destroyed afterwards.
TEST(ErrorTest, AnErrorOutlivesItsErrorSystem) {
    auto application = std::make_unique<TestApplication>();
    Error error;
    error.Report(ResourceSystemErrNoHandle);
    ASSERT_TRUE(error.IsOpen());
    application->ShutdownErrorSystem();
    EXPECT_FALSE(error.IsOpen());
    EXPECT_EQ(error.Code(), ErrorCodeFailure);
    application.reset();
    EXPECT_FALSE(error.IsOpen());
}

} // namespace
