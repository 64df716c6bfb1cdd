#include "engines/input/InputDeviceHandle.h"

#include "engines/input/tests/InputTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace Vemo;
using namespace VemoTest;

class InputDeviceHandleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_keyboard.Open(0));
        m_handle = dynamic_cast<ScriptedKeyboardHandle*>(m_keyboard.GetKeyboardHandle());
        ASSERT_NE(m_handle, nullptr);
    }

    Log m_log;
    TestApplication m_application;
    ScriptedInputSetup m_input{m_application, &m_log};
    Keyboard m_keyboard;
    ScriptedKeyboardHandle* m_handle = nullptr;
};

TEST_F(InputDeviceHandleTest, WithoutFiltersEveryEventButTheMarkerIsDispatched) {
    m_handle->Press(30, true);
    m_handle->Press(31, false);
    m_input.Update();
    EXPECT_EQ(m_log, (Log{"dispatch key 30 down", "dispatch key 31 up"}));
}

TEST_F(InputDeviceHandleTest, FiltersRunInUnsignedOrderAndSeeEveryEventEvenSwallowedOnes) {
    RecordingFilter last(0xFFFFFFFF, &m_log, "last");
    RecordingFilter swallower(0x80000000, &m_log, "swallower");
    RecordingFilter first(0, &m_log, "first");
    swallower.m_action = [](InputDeviceEvent* event) {
        if (event->kind == InputDeviceEvent::Key && event->change.code == 30) {
            event->kind = InputDeviceEvent::None;
        } else if (event->kind == InputDeviceEvent::Key) {
            event->change.code = 99;
        }
    };
    last.Attach(m_keyboard);
    swallower.Attach(m_keyboard);
    first.Attach(m_keyboard);
    m_handle->Press(30, true);
    m_handle->Press(31, true);
    m_input.Update();
    EXPECT_EQ(m_log, (Log{"first none", "swallower none", "last none", "first key 30 down",
                          "swallower key 30 down", "last none", "first key 31 down", "swallower key 31 down",
                          "last key 99 down", "dispatch key 99 down"}));
}

TEST_F(InputDeviceHandleTest, TheSetHoldsOneFilterAPriorityWhicheverObjectIsNamed) {
    RecordingFilter first(5, &m_log, "first");
    RecordingFilter second(5, &m_log, "second");
    RecordingFilter other(9, &m_log, "other");
    m_handle->AddFilter(&first);
    m_handle->AddFilter(&second);
    m_handle->AddFilter(&other);
    EXPECT_EQ(m_handle->NextFilter(nullptr), &first);
    EXPECT_EQ(m_handle->NextFilter(&first), &other);
    EXPECT_EQ(m_handle->NextFilter(&second), &other) << "found by priority";
    EXPECT_EQ(m_handle->NextFilter(&other), nullptr);
    EXPECT_TRUE(m_handle->HasFilter(&second));
    m_handle->RemoveFilter(&second);
    EXPECT_FALSE(m_handle->HasFilter(&first));
    EXPECT_EQ(m_handle->NextFilter(&first), nullptr) << "no filter of that priority any more";
    EXPECT_EQ(m_handle->NextFilter(nullptr), &other);
    m_handle->RemoveFilter(&other);
}

TEST_F(InputDeviceHandleTest, AFilterMayRemoveAndDeleteItselfAndTheNextFilter) {
    auto* self = new RecordingFilter(1, &m_log, "self");
    auto* next = new RecordingFilter(2, &m_log, "next");
    RecordingFilter after(3, &m_log, "after");
    m_handle->AddFilter(self);
    m_handle->AddFilter(next);
    m_handle->AddFilter(&after);
    self->m_action = [&](InputDeviceEvent*) {
        m_handle->RemoveFilter(next);
        delete next;
        m_handle->RemoveFilter(self);
        delete self;
    };
    m_handle->Press(30, true);
    m_input.Update();
    EXPECT_EQ(m_log, (Log{"self none", "after none", "after key 30 down", "dispatch key 30 down"}));
    m_handle->RemoveFilter(&after);
}

TEST_F(InputDeviceHandleTest, AFilterAddedBehindTheRunningOneSeesTheSameEventOneAddedBeforeItTheNext) {
    RecordingFilter adder(10, &m_log, "adder");
    RecordingFilter behind(20, &m_log, "behind");
    RecordingFilter before(5, &m_log, "before");
    // The handle only refers to its filters: each test takes its own out again before they go.
    m_handle->AddFilter(&adder);
    adder.m_action = [&](InputDeviceEvent* event) {
        if (event->kind == InputDeviceEvent::Key) {
            m_handle->AddFilter(&behind);
            m_handle->AddFilter(&before);
        }
    };
    m_handle->Press(30, true);
    m_handle->Press(31, true);
    m_input.Update();
    EXPECT_EQ(m_log,
              (Log{"adder none", "adder key 30 down", "behind key 30 down", "dispatch key 30 down",
                   "before key 31 down", "adder key 31 down", "behind key 31 down", "dispatch key 31 down"}));
    for (InputDeviceFilter* filter : {&adder, &behind, &before}) {
        m_handle->RemoveFilter(filter);
    }
}

TEST_F(InputDeviceHandleTest, AttachedFiltersLeaveOnlyThemselvesAndOutliveTheirDevice) {
    RecordingFilter kept(5, &m_log, "kept");
    auto* sameRank = new RecordingFilter(5, &m_log, "same rank");
    kept.Attach(m_keyboard);
    sameRank->Attach(m_keyboard);
    EXPECT_EQ(sameRank->GetDevice(), &m_keyboard) << "attached, though the set kept the first";
    delete sameRank;
    EXPECT_EQ(m_handle->NextFilter(nullptr), &kept) << "leaving did not take the other filter along";

    auto* device = new Keyboard;
    ASSERT_TRUE(device->Open(0));
    RecordingFilter outliving(6, &m_log, "outliving");
    outliving.Attach(*device);
    EXPECT_TRUE(m_handle->HasFilter(&outliving)) << "the two keyboards share the handle";
    delete device;
    EXPECT_EQ(outliving.GetDevice(), nullptr);
    outliving.Attach(m_keyboard);
    EXPECT_EQ(outliving.GetDevice(), &m_keyboard);
    outliving.Detach();
    EXPECT_FALSE(m_handle->HasFilter(&outliving));
    EXPECT_TRUE(m_handle->HasFilter(&kept));
}

} // namespace
