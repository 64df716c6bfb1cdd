#include "platform/win32/kernel/Module.h"

#include "platform/win32/LastError.h"

#include <gtest/gtest.h>

namespace {

TEST(ModuleTest, TheProgramHasOneFixedInstanceHandle) {
    const win32::HMODULE program = win32::GetModuleHandleA(nullptr);
    EXPECT_NE(program, nullptr);
    EXPECT_EQ(win32::GetModuleHandleA(nullptr), program);
}

TEST(ModuleTest, ANamedModuleIsNotFound) {
    win32::SetLastError(0);
    EXPECT_EQ(win32::GetModuleHandleA("kernel32.dll"), nullptr);
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_MOD_NOT_FOUND);
}

} // namespace
