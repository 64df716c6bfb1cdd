#include "platform/testing/DebugOutput.h"
#include "platform/win32/kernel/Debug.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

TEST(DebugTest, ACaptureReceivesEachTextInOrder) {
    platform::testing::DebugOutputCapture capture;
    win32::OutputDebugStringA("first\n");
    win32::OutputDebugStringA(nullptr);
    win32::OutputDebugStringA("second");
    EXPECT_EQ(capture.Texts(), (Texts{"first\n", "second"}));
}

TEST(DebugTest, AnInnerCaptureHandsBackToTheOuterOne) {
    platform::testing::DebugOutputCapture outer;
    {
        platform::testing::DebugOutputCapture inner;
        win32::OutputDebugStringA("inner");
        EXPECT_EQ(inner.Texts(), Texts{"inner"});
    }
    win32::OutputDebugStringA("outer");
    EXPECT_EQ(outer.Texts(), Texts{"outer"});
}

} // namespace
