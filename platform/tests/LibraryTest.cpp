#include "platform/win32/kernel/Library.h"

#include "platform/testing/Drives.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/DriveTable.h"

#include <dlfcn.h>

#include <gtest/gtest.h>

#include <string>

namespace win32 {
namespace {

// The host's maths library: present wherever the C++ runtime is.
constexpr const char* kMaths = "libm.so.6";

using Cosine = double (*)(double);

TEST(LibraryTest, ALibraryFoundByNameGivesItsExports) {
    HMODULE maths = LoadLibraryA(kMaths);
    ASSERT_NE(maths, nullptr);
    auto cosine = reinterpret_cast<Cosine>(GetProcAddress(maths, "cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_EQ(cosine(0.0), 1.0);
    EXPECT_TRUE(FreeLibrary(maths));
}

TEST(LibraryTest, OnlyTheLibrarysOwnNamedExportsAreFound) {
    HMODULE maths = LoadLibraryA(kMaths);
    ASSERT_NE(maths, nullptr);
    for (const char* name : {"vemo_no_such_export", "malloc", static_cast<const char*>(nullptr),
                             reinterpret_cast<const char*>(static_cast<ULONG_PTR>(1))}) {
        SetLastError(0);
        EXPECT_EQ(GetProcAddress(maths, name), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    }
    EXPECT_TRUE(FreeLibrary(maths));
}

TEST(LibraryTest, EachLoadIsFreedOnceAndNoMore) {
    HMODULE first = LoadLibraryA(kMaths);
    HMODULE second = LoadLibraryA(kMaths);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_NE(GetProcAddress(second, "cos"), nullptr);
    EXPECT_TRUE(FreeLibrary(second));
    SetLastError(0);
    EXPECT_FALSE(FreeLibrary(first));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetProcAddress(first, "cos"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(LibraryTest, AWindowsPathGoesThroughTheDriveTable) {
    HMODULE maths = LoadLibraryA(kMaths);
    ASSERT_NE(maths, nullptr);
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(GetProcAddress(maths, "cos")), &info), 0);
    std::string windowsPath = std::string("C:") + info.dli_fname;
    for (char& c : windowsPath) {
        c = c == '/' ? '\\' : c;
    }
    testing::ScopedDriveTable table(DriveTable::Parse("C=/:fixed"));
    HMODULE byPath = LoadLibraryA(windowsPath.c_str());
    EXPECT_EQ(byPath, maths);
    EXPECT_TRUE(FreeLibrary(byPath));
    EXPECT_TRUE(FreeLibrary(maths));
}

TEST(LibraryTest, ANameThatFindsNoLibraryFails) {
    for (const char* name : {"libvemo-no-such-library.so", "relative/libm.so.6", "Q:\\libm.so.6", "",
                             static_cast<const char*>(nullptr)}) {
        SetLastError(0);
        EXPECT_EQ(LoadLibraryA(name), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    }
}

} // namespace
} // namespace win32
