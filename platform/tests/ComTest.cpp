#include "platform/com/Com.h"
#include "platform/com/ActiveDesktop.h"
#include "platform/testing/CaseNames.h"
#include "platform/tests/ComTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace com::tests {
namespace {

using testing::ScopedClass;

TEST_F(ComTest, StartsAreCountedForEachThread) {
    EXPECT_EQ(CoInitialize(nullptr), win32::S_OK);
    EXPECT_EQ(CoInitialize(nullptr), win32::S_FALSE);
    EXPECT_EQ(testing::ThreadInitializeCount(), 2);
    std::thread other([] {
        EXPECT_EQ(CoInitialize(nullptr), win32::S_OK);
        CoUninitialize();
        EXPECT_EQ(testing::ThreadInitializeCount(), 0);
    });
    other.join();
    CoUninitialize();
    EXPECT_EQ(testing::ThreadInitializeCount(), 1);
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(testing::ThreadInitializeCount(), 0);
    EXPECT_EQ(CoInitialize(nullptr), win32::S_OK) << "a thread whose starts are all undone starts afresh";
}

TEST_F(ComTest, AReservedArgumentIsRefusedAndCountsNothing) {
    int reserved = 0;
    EXPECT_EQ(CoInitialize(&reserved), win32::E_INVALIDARG);
    EXPECT_EQ(testing::ThreadInitializeCount(), 0);
}

TEST_F(ComTest, NothingIsRegisteredOutsideTests) {
    ASSERT_EQ(CoInitialize(nullptr), win32::S_OK);
    void* object = &object;
    EXPECT_EQ(
        CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveDesktop, &object),
        REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    CLSID clsid;
    for (const char16_t* progId : {u"Shell.Explorer", u"SWCtl.SWCtl", u"ShockwaveFlash.ShockwaveFlash"}) {
        EXPECT_EQ(CLSIDFromProgID(progId, &clsid), CO_E_CLASSSTRING);
    }
}

TEST_F(ComTest, CreationNeedsCOMStartedOnTheThread) {
    ScopedClass thing(CLSID_TestThing, "Test.Thing", [] { return TestThing::Create(); });
    void* object = &object;
    EXPECT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_INPROC_SERVER, IID_ITestThing, &object),
              CO_E_NOTINITIALIZED);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(thing.CreatedCount(), 0);
}

TEST_F(ComTest, ARegisteredClassMakesInstancesThroughItsFactory) {
    ScopedClass thing(CLSID_TestThing, "Test.Thing", [] { return TestThing::Create(42); });
    ASSERT_TRUE(thing.Registered());
    ASSERT_EQ(CoInitialize(nullptr), win32::S_OK);
    ITestThing* instance = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_TestThing, nullptr, CLSCTX_ALL, IID_ITestThing,
                               reinterpret_cast<void**>(&instance)),
              win32::S_OK);
    EXPECT_EQ(instance->Value(), 42);
    EXPECT_EQ(TestThing::Alive(), 1);
    instance->Release();
    EXPECT_EQ(TestThing::Alive(), 0);
}

struct CreationFailure {
    const char* name;
    DWORD context;
    bool aggregated;
    const IID* iid;
    HRESULT expected;
};

class ComCreationFailureTest : public ComTest, public ::testing::WithParamInterface<CreationFailure> {};

TEST_P(ComCreationFailureTest, FailsWithNoObjectLeftBehind) {
    const CreationFailure& failure = GetParam();
    ScopedClass thing(CLSID_TestThing, "Test.Thing", [] { return TestThing::Create(); });
    ASSERT_EQ(CoInitialize(nullptr), win32::S_OK);
    TestThing* outer = failure.aggregated ? TestThing::Create() : nullptr;
    void* object = &object;
    EXPECT_EQ(CoCreateInstance(CLSID_TestThing, outer, failure.context, *failure.iid, &object),
              failure.expected);
    EXPECT_EQ(object, nullptr);
    if (outer != nullptr) {
        outer->Release();
    }
    EXPECT_EQ(TestThing::Alive(), 0);
}

const IID kUnknownInterface = {0xDEADBEEF, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};

INSTANTIATE_TEST_SUITE_P(Failures, ComCreationFailureTest,
                         ::testing::Values(CreationFailure{"OutOfProcessOnly", CLSCTX_LOCAL_SERVER, false,
                                                           &IID_ITestThing, REGDB_E_CLASSNOTREG},
                                           CreationFailure{"Aggregated", CLSCTX_INPROC_SERVER, true,
                                                           &IID_ITestThing, CLASS_E_NOAGGREGATION},
                                           CreationFailure{"UnansweredInterface", CLSCTX_INPROC_SERVER, false,
                                                           &kUnknownInterface, win32::E_NOINTERFACE}),
                         platform::testing::NameFromText<&CreationFailure::name>());

TEST_F(ComTest, ARegistrationIsRefusedForATakenClassOrProgIdAndUndoneByUnregistering) {
    testing::FunctionClassFactory* factory =
        testing::FunctionClassFactory::Create([] { return TestThing::Create(); });
    EXPECT_TRUE(testing::RegisterClassFactory(CLSID_TestThing, "Test.Thing", factory));
    EXPECT_FALSE(testing::RegisterClassFactory(CLSID_TestThing, "Test.Other", factory));
    EXPECT_FALSE(testing::RegisterClassFactory(CLSID_OtherThing, "TEST.THING", factory));
    EXPECT_TRUE(testing::RegisterClassFactory(CLSID_OtherThing, "", factory));
    EXPECT_EQ(factory->AddRef(), 4U) << "each registration holds one reference";
    factory->Release();
    EXPECT_TRUE(testing::UnregisterClassFactory(CLSID_TestThing));
    EXPECT_FALSE(testing::UnregisterClassFactory(CLSID_TestThing));
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID(u"Test.Thing", &clsid), CO_E_CLASSSTRING);
    EXPECT_TRUE(testing::UnregisterClassFactory(CLSID_OtherThing));
    EXPECT_EQ(factory->Release(), 0U);
}

TEST_F(ComTest, ProgIdsAreFoundWithoutRegardToCase) {
    ScopedClass thing(CLSID_TestThing, "Test.Thing", [] { return TestThing::Create(); });
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"tEST.tHING", &clsid), win32::S_OK);
    EXPECT_TRUE(clsid == CLSID_TestThing);
    EXPECT_EQ(CLSIDFromProgID(u"Test.Thing2", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(u"Test.Thin", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(u"T\u00e9st.Thing", &clsid), CO_E_CLASSSTRING);
}

struct StringCase {
    const char16_t* text;
    bool valid;
};

std::string NameOf(const char16_t* text) {
    return std::string(text, text + std::char_traits<char16_t>::length(text));
}

class ClsidFromStringTest : public ComTest, public ::testing::WithParamInterface<StringCase> {};

TEST_P(ClsidFromStringTest, ReadsBracedCLSIDsAndRegisteredProgIds) {
    ScopedClass thing(CLSID_TestThing, "Test.Thing", [] { return TestThing::Create(); });
    CLSID clsid{};
    const HRESULT result = CLSIDFromString(GetParam().text, &clsid);
    if (GetParam().valid) {
        ASSERT_EQ(result, win32::S_OK);
        EXPECT_TRUE(clsid == CLSID_TestThing);
    } else {
        EXPECT_EQ(result, CO_E_CLASSSTRING);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ClsidFromStringTest,
                         ::testing::Values(StringCase{u"{0C0FFEE1-1234-5678-9ABC-DEF012345678}", true},
                                           StringCase{u"{0c0ffee1-1234-5678-9abc-def012345678}", true},
                                           StringCase{u"test.thing", true},
                                           StringCase{u"0C0FFEE1-1234-5678-9ABC-DEF012345678", false},
                                           StringCase{u"{0C0FFEE1-1234-5678-9ABC-DEF012345678}x", false},
                                           StringCase{u"{0C0FFEE1-1234-5678-9ABCDEF012345678}", false},
                                           StringCase{u"{0C0FFEE1-1234-5678-9ABC-DEF01234567}", false},
                                           StringCase{u"{0C0FFEG1-1234-5678-9ABC-DEF012345678}", false},
                                           StringCase{u"", false}),
                         [](const ::testing::TestParamInfo<StringCase>& info) {
                             return platform::testing::CaseName(info.index, NameOf(info.param.text));
                         });

} // namespace
} // namespace com::tests
