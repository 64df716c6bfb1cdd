#include "engines/input/InputDeviceSystem.h"

#include "engines/input/InputDeviceSearchCriterion.h"
#include "engines/input/tests/InputTestSupport.h"
#include "engines/testing/TimingSetup.h"

#include <gtest/gtest.h>

namespace {

using namespace Vemo;
using namespace VemoTest;

class InputDeviceSystemTest : public ::testing::Test {
protected:
    Log m_log;
    TestApplication m_application;
    ScriptedInputSetup m_input{m_application, &m_log};
};

TEST_F(InputDeviceSystemTest, FrontEndsOfOneDeviceShareItsHandle) {
    Log notes;
    RecordingKeyboard first(&notes, "first");
    RecordingKeyboard second(&notes, "second");
    RecordingKeyboard other(&notes, "other");
    ASSERT_TRUE(first.Open(0));
    ASSERT_TRUE(second.Open(0));
    ASSERT_TRUE(other.Open(1));
    EXPECT_EQ(first.GetHandle(), second.GetHandle());
    EXPECT_NE(first.GetHandle(), other.GetHandle());
    EXPECT_EQ(first.GetHandle()->GetReferenceCount(), 2U);
    EXPECT_EQ(m_input.System()->GetLiveHandles().Size(), 2U);

    Keyboard byName;
    Keyboard byOtherName;
    ASSERT_TRUE(byName.Open(String("Keyboard 0")));
    ASSERT_TRUE(byOtherName.Open(String("keyboard 0")));
    EXPECT_EQ(byName.GetHandle(), first.GetHandle()) << "names compare exactly";
    EXPECT_NE(byOtherName.GetHandle(), first.GetHandle());
    EXPECT_TRUE(m_application.TakeReports().empty());
}

TEST_F(InputDeviceSystemTest, ClosingOneFrontEndKeepsTheHandleAndItsFiltersTheLastForgetsThem) {
    auto* first = new Keyboard;
    auto* second = new Keyboard;
    ASSERT_TRUE(first->Open(0));
    ASSERT_TRUE(second->Open(0));
    RecordingFilter filter(3, &m_log, "filter");
    first->AddFilter(&filter);
    delete first;
    EXPECT_TRUE(second->HasFilter(&filter)) << "the shared handle keeps the filter";
    EXPECT_EQ(second->GetHandle()->GetReferenceCount(), 1U);
    delete second;
    EXPECT_TRUE(m_input.System()->GetLiveHandles().Empty());
    EXPECT_TRUE(m_input.Engine()->GetAttachedHandles().Empty());

    Keyboard third;
    ASSERT_TRUE(third.Open(0));
    EXPECT_FALSE(third.HasFilter(&filter)) << "a new handle starts without filters";
}

TEST_F(InputDeviceSystemTest, RequestsTheFamilyCannotServeAreReported) {
    InputDeviceSearchCriterion neither(InputDeviceHandle::kKeyboard, nullptr, nullptr);
    EXPECT_EQ(m_input.System()->Open(&neither, nullptr), nullptr);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{InputDeviceSystemErrNoDevice}}));
    EXPECT_EQ(InputDeviceSystemErrNoDevice, 0x0101010200000001u);

    const std::uint32_t index = 0;
    InputDeviceSearchCriterion fourth(4, &index, nullptr);
    EXPECT_EQ(m_input.System()->Open(&fourth, nullptr), nullptr);
    EXPECT_TRUE(
        ReportedInOrder(m_application.TakeReports(), {{InputDeviceEngineErrUnknownKind},
                                                      {ResourceSystemErrOpenFailed, "Input Device System"}}));

    m_input.Engine()->m_refuseCreation = true;
    Keyboard keyboard;
    EXPECT_FALSE(keyboard.Open(0));
    EXPECT_TRUE(ReportedInOrder(m_application.TakeReports(),
                                {{InputDeviceEngineErrKeyboardFailed}, {ResourceSystemErrOpenFailed}}));
}

TEST_F(InputDeviceSystemTest, FailuresToShareAndToDestroyAreReported) {
    Keyboard first;
    ASSERT_TRUE(first.Open(0));
    m_input.Engine()->m_refuseSharing = true;
    Keyboard second;
    EXPECT_FALSE(second.Open(0));
    EXPECT_TRUE(
        ReportedInOrder(m_application.TakeReports(), {{ResourceSystemErrShareFailed, "Input Device System"},
                                                      {ResourceSystemErrOpenFailed}}));

    m_input.Engine()->m_refuseDestruction = true;
    ResourceHandle* handle = first.GetHandle();
    first.SetHandle(nullptr);
    EXPECT_FALSE(m_input.System()->Close(handle, &first));
    EXPECT_TRUE(ReportedInOrder(m_application.TakeReports(), {{InputDeviceEngineErrDestroyFailed}}));
    m_input.Engine()->m_refuseDestruction = false;
    delete handle;
}

} // namespace
