#include "engines/input/directx/DirectInputObject.h"

#include "platform/testing/DirectInputTesting.h"
#include "resources/hooks/DirectXEngineHook.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

namespace {

using namespace Vemo;
using namespace VemoTest;

const win32::HINSTANCE kInstance =
    reinterpret_cast<win32::HINSTANCE>(static_cast<win32::ULONG_PTR>(0x400000));

class DirectInputObjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_before = dinput::testing::LiveDirectInputObjects();
        ASSERT_TRUE(DirectXEngineHook::Install(kInstance));
    }

    void TearDown() override {
        if (DirectXEngineHook::Installed() != nullptr) {
            DirectXEngineHook::Uninstall();
        }
        EXPECT_EQ(dinput::testing::LiveDirectInputObjects(), m_before) << "every interface is released";
    }

    int Live() const { return dinput::testing::LiveDirectInputObjects() - m_before; }

    TestApplication m_application;
    int m_before = 0;
};

TEST_F(DirectInputObjectTest, CreateAndReleaseTheDirectInputInterface) {
    DirectInputObject first;
    DirectInputObject second;
    EXPECT_EQ(second.GetSerial(), first.GetSerial() + 1);
    ASSERT_TRUE(first.Create());
    ASSERT_TRUE(second.Create());
    EXPECT_NE(first.GetDirectInput(), nullptr);
    EXPECT_NE(first.GetDirectInput(), second.GetDirectInput());
    EXPECT_EQ(Live(), 2);
    EXPECT_FALSE(first.Create());

    EXPECT_TRUE(first.Release());
    EXPECT_EQ(first.GetDirectInput(), nullptr);
    EXPECT_EQ(Live(), 1);
    EXPECT_FALSE(first.Release());
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{DirectXEngineHookErrObjectAttached}, {DirectXEngineHookErrObjectNotAttached}}));
}

TEST_F(DirectInputObjectTest, CreateFailsWithoutTheHookOrItsDirectInput) {
    DirectInputObject object;
    dinput::testing::FailNextDirectInputCreate(win32::E_FAIL);
    EXPECT_FALSE(object.Create());
    DirectXEngineHook::Uninstall();
    EXPECT_FALSE(object.Create());
    EXPECT_EQ(object.GetDirectInput(), nullptr);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{DirectXEngineHookErrDirectInput},
                                                    {DirectXEngineHookErrObjectAddFailed},
                                                    {EngineHookErrNotInstalled}}));
}

TEST_F(DirectInputObjectTest, QueriedInterfacesAreHeldUntilReleasedOnce) {
    DirectInputObject object;
    ASSERT_TRUE(object.Create());
    com::IUnknown* queried = object.QueryInterface(dinput::IID_IDirectInput2A);
    ASSERT_NE(queried, nullptr);
    EXPECT_EQ(object.GetInterfaceCount(), 1U);
    EXPECT_EQ(object.QueryInterface(com::IID{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}), nullptr);
    EXPECT_EQ(object.GetInterfaceCount(), 1U);

    EXPECT_TRUE(object.ReleaseInterface(queried));
    // A second release of the same interface is refused and releases nothing.
    EXPECT_FALSE(object.ReleaseInterface(queried));
    EXPECT_EQ(Live(), 1);
    EXPECT_TRUE(object.Release());
    EXPECT_EQ(Live(), 0);

    DirectInputObject unattached;
    EXPECT_EQ(unattached.QueryInterface(dinput::IID_IDirectInputA), nullptr);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{DirectXEngineHookErrQueryInterface},
                                                    {DirectXEngineHookErrInterfaceUnknown},
                                                    {DirectXEngineHookErrQueryInterface}}));
}

TEST_F(DirectInputObjectTest, ReleasingLetsGoOfEveryHeldInterface) {
    DirectInputObject object;
    ASSERT_TRUE(object.Create());
    object.QueryInterface(dinput::IID_IDirectInputA);
    object.QueryInterface(com::IID_IUnknown);
    ASSERT_EQ(object.GetInterfaceCount(), 2U);
    EXPECT_TRUE(object.Release());
    EXPECT_EQ(object.GetInterfaceCount(), 0U);
    EXPECT_EQ(Live(), 0);
}

TEST_F(DirectInputObjectTest, TheDestructorReleasesThroughTheHookOrItself) {
    {
        DirectInputObject object;
        ASSERT_TRUE(object.Create());
        object.QueryInterface(dinput::IID_IDirectInput2A);
    }
    EXPECT_TRUE(DirectXEngineHook::Installed()->GetInputObjects().Empty());
    EXPECT_EQ(Live(), 0);

    {
        DirectInputObject object;
        ASSERT_TRUE(object.Create());
        object.QueryInterface(dinput::IID_IDirectInput2A);
        // The hook forgets its objects when it goes; the object then releases what it holds itself.
        DirectXEngineHook::Uninstall();
        EXPECT_EQ(Live(), 1);
    }
    EXPECT_EQ(Live(), 0);
    EXPECT_TRUE(m_application.TakeReports().empty());
}

TEST_F(DirectInputObjectTest, AnObjectOutlivingItsHookStillReleasesUnderTheNextOne) {
    {
        DirectInputObject object;
        ASSERT_TRUE(object.Create());
        DirectXEngineHook::Uninstall();
        ASSERT_TRUE(DirectXEngineHook::Install(kInstance));
        EXPECT_FALSE(object.Release()) << "the new hook does not know the object";
    }
    EXPECT_EQ(Live(), 0);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{DirectXEngineHookErrObjectUnknown},
                                                    {DirectXEngineHookErrObjectRemoveFailed},
                                                    {DirectXEngineHookErrObjectUnknown},
                                                    {DirectXEngineHookErrObjectRemoveFailed}}));
}

} // namespace
