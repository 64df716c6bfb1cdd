#include "platform/testing/ScopedEnvironment.h"
#include "platform/win32/LastError.h"
#include "platform/win32/kernel/Library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

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

// The libraries the dynamic loader brings in with the library (ldd's listing: all of them, not only the ones
// it names), each as its name before ".so": "libstdc++", "ld-linux-x86-64".
std::vector<std::string> LoadedWith(const std::string& library) {
    std::random_device random;
    const std::filesystem::path listing =
        std::filesystem::temp_directory_path() / ("corvintale-ldd-" + std::to_string(random()));
    const std::string command = "ldd '" + library + "' > '" + listing.string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(listing);
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string first;
        if (words >> first) {
            const std::string file = std::filesystem::path(first).filename().string();
            names.push_back(file.substr(0, file.find(".so")));
        }
    }
    std::filesystem::remove(listing);
    return names;
}

TEST(CorvintaleDependenciesTest, TheLibraryLoadsNothingButTheCAndCxxRuntimes) {
    // A caller that only asks for the version must not need a display, sound or movie library: no SDL2, X11,
    // Wayland, fontconfig, FreeType or FFmpeg. The sanitizers' own runtimes come with the test build.
    const std::set<std::string> allowed = {"linux-vdso", "ld-linux-x86-64", "ld-linux-aarch64", "libc",
                                           "libm",       "libstdc++",       "libgcc_s",         "libpthread",
                                           "libdl",      "librt",           "libasan",          "libubsan"};
    const std::vector<std::string> names = LoadedWith(VEMO_CORVINTALE);
    EXPECT_NE(std::find(names.begin(), names.end(), "libc"), names.end()) << "no listing of the library";
    for (const std::string& name : names) {
        EXPECT_TRUE(allowed.count(name) != 0) << VEMO_CORVINTALE << " loads " << name;
    }
}

} // namespace
