// Small COM objects for the COM tests: an object that counts how many of its kind are alive, and the GUIDs
// the tests register classes under.
#pragma once

#include "platform/com/Com.h"
#include "platform/com/ComObject.h"
#include "platform/testing/ComTesting.h"

#include <gtest/gtest.h>

namespace com::tests {

// An interface of the tests' own.
class ITestThing : public IUnknown {
public:
    virtual int Value() = 0;
};

inline const IID IID_ITestThing = {
    0x0C0FFEE0, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78}};
inline const CLSID CLSID_TestThing = {
    0x0C0FFEE1, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78}};
inline const CLSID CLSID_OtherThing = {
    0x0C0FFEE2, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78}};

class TestThing final : public ComObject<ITestThing> {
public:
    static TestThing* Create(int value = 7) { return new TestThing(value); }

    HRESULT QueryInterface(REFIID iid, void** object) override {
        return Answer(iid, object, {{&IID_ITestThing, static_cast<ITestThing*>(this)}});
    }
    int Value() override { return m_value; }

    static int Alive() { return s_alive; }

private:
    explicit TestThing(int value) : m_value(value) { ++s_alive; }
    ~TestThing() override { --s_alive; }

    int m_value;
    static inline int s_alive = 0;
};

// Every COM test starts and ends with nothing registered, COM not started on its thread and no object alive.
class ComTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(testing::ThreadInitializeCount(), 0);
        ASSERT_EQ(TestThing::Alive(), 0);
    }
    void TearDown() override {
        testing::UnregisterAllClasses();
        while (testing::ThreadInitializeCount() > 0) {
            CoUninitialize();
        }
        EXPECT_EQ(TestThing::Alive(), 0);
    }
};

} // namespace com::tests
