#include "platform/testing/ScopedEnvironment.h"
#include "platform/win32/LastError.h"
#include "platform/win32/Library.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using platform::testing::ScopedEnvironment;

constexpr const char* kLibrary = "libcorvintale.so";

// The library as an outside caller finds it: by name, through the loader's search.
class CorvintaleLibraryTest : public testing::Test {
protected:
    void SetUp() override {
        m_library = win32::LoadLibraryA(kLibrary);
        ASSERT_NE(m_library, nullptr) << kLibrary << " is not found by name";
    }

    void TearDown() override {
        if (m_library != nullptr) {
            EXPECT_TRUE(win32::FreeLibrary(m_library));
        }
    }

    win32::HMODULE m_library = nullptr;
};

TEST_F(CorvintaleLibraryTest, QTVersionAnswersForTheQuickTimeOfTheMachine) {
    using QTVersionFunction = std::int32_t (*)();
    auto qtVersion = reinterpret_cast<QTVersionFunction>(win32::GetProcAddress(m_library, "QTVersion"));
    ASSERT_NE(qtVersion, nullptr);
    ScopedEnvironment quickTime("VEMO_QUICKTIME", "none");
    EXPECT_EQ(qtVersion(), 0);
    quickTime.Set("6.0");
    EXPECT_EQ(qtVersion(), 6);
}

TEST_F(CorvintaleLibraryTest, NothingButQTVersionIsExported) {
    // The platform layer's calls (C++ names) and the probe's own helpers stay inside; the libraries it links
    // are not its exports either.
    for (const char* name : {"_ZN2qt9StartQTMLEi", "_ZN5win3212GetLastErrorEv", "_ZN2qt12QueryFeatureEjPi",
                             "SDL_Init", "MajorVersion", "qtVersion"}) {
        win32::SetLastError(0);
        EXPECT_EQ(win32::GetProcAddress(m_library, name), nullptr) << name;
        EXPECT_EQ(win32::GetLastError(), win32::ERROR_PROC_NOT_FOUND) << name;
    }
}

} // namespace
