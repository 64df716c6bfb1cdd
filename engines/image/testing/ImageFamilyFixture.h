// The fixture of the image family's tests: a test application (recording every reported error) with a fixed
// drive C: (the volume HD0) in a fresh temporary folder and the Win32 storage engine, a Graphic System with
// one graphic engine, and an Image System with the standard image engine; everything is shut down at the end
// with every handle gone.
//
// The graphic engine is the one thing a test of decoding depends on besides the image family: the part below
// marked "graphic engine" is where it is chosen, with what the tests ask of its surfaces (that one loses its
// memory, that it comes back restored and tells its graphics so, that a lock fails).
#pragma once

#include "engines/graphics/Graphic.h"
#include "engines/graphics/GraphicEvent.h"
#include "engines/graphics/GraphicHandle.h"
#include "engines/graphics/GraphicSystem.h"
#include "engines/graphics/testing/MemoryGraphicEngine.h"
#include "engines/image/ImageSystem.h"
#include "engines/image/StandardImageEngine.h"
#include "platform/testing/Drives.h"
#include "resources/testing/StorageTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace VemoTest {

// ---- graphic engine -------------------------------------------------------------------------------------

using ImageTestGraphicEngine = MemoryGraphicEngine;

inline Vemo::GraphicEngine* MakeImageTestGraphicEngine() {
    return MemoryGraphicEngine::Make();
}

// The surface loses its memory's content, as a display change does.
inline void LoseSurface(Vemo::GraphicHandle& handle) {
    auto& surface = dynamic_cast<EngineGraphicHandle&>(handle);
    surface.SetLost(1);
    std::fill(surface.Memory().begin(), surface.Memory().end(), std::uint8_t{0x5A});
}

// The engine restores the surface and tells its graphics, as its restore pass does; whether a graphic
// redrew it.
inline bool RestoreSurface(Vemo::GraphicHandle& handle) {
    dynamic_cast<EngineGraphicHandle&>(handle).SetLost(0);
    Vemo::RestoredGraphicEvent restored;
    handle.NotifyGraphics(restored);
    return restored.m_handled;
}

// The surface's next lock fails.
inline void FailNextLock(Vemo::GraphicHandle& handle) {
    dynamic_cast<EngineGraphicHandle&>(handle).FailLocks(1);
}

inline bool AllGraphicHandlesGone() {
    return g_liveGraphicTestHandles == 0;
}

// ---- the fixture ----------------------------------------------------------------------------------------

class ImageFamilyFixture : public ::testing::Test {
protected:
    ImageFamilyFixture() : m_drives({{'C', win32::DRIVE_FIXED}}) {}

    void SetUp() override {
        m_graphicSystem = Vemo::GraphicSystem::Create();
        ASSERT_NE(m_graphicSystem, nullptr);
        m_application.m_graphicSystem = m_graphicSystem;
        ASSERT_TRUE(m_graphicSystem->AddEngine(MakeImageTestGraphicEngine()));
        m_imageSystem = Vemo::ImageSystem::Create();
        ASSERT_NE(m_imageSystem, nullptr);
        m_application.m_imageSystem = m_imageSystem;
        m_imageEngine = Vemo::StandardImageEngine::Create();
        ASSERT_NE(m_imageEngine, nullptr);
        ASSERT_TRUE(m_imageSystem->AddEngine(m_imageEngine));
        m_application.TakeReports();
    }

    void TearDown() override {
        ShutdownImages();
        if (m_graphicSystem != nullptr) {
            m_graphicSystem->Shutdown();
            m_application.m_graphicSystem = nullptr;
        }
        EXPECT_TRUE(AllGraphicHandlesGone());
    }

    void ShutdownImages() {
        if (m_imageSystem != nullptr) {
            m_imageSystem->Shutdown();
            m_application.m_imageSystem = nullptr;
            m_imageSystem = nullptr;
            m_imageEngine = nullptr;
        }
    }

    Reports Taken() { return m_application.TakeReports(); }

    // A file of drive C: written directly on the host.
    void WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        WriteHostFile(m_drives.HostPath('C', name), std::string(bytes.begin(), bytes.end()));
    }
    std::vector<std::uint8_t> ReadFile(const std::string& name) const {
        const std::string content = ReadHostFile(m_drives.HostPath('C', name));
        return std::vector<std::uint8_t>(content.begin(), content.end());
    }

    // The path of a file of drive C:; the reports of resolving it are dropped.
    Vemo::Path At(const std::string& name) {
        Vemo::Path path;
        EXPECT_TRUE(path.Parse(Vemo::String(("HD0:/" + name).c_str()))) << name;
        m_application.TakeReports();
        return path;
    }

    win32::testing::TemporaryDrives m_drives;
    StorageApplication m_application;
    Vemo::GraphicSystem* m_graphicSystem = nullptr;
    Vemo::ImageSystem* m_imageSystem = nullptr;
    Vemo::StandardImageEngine* m_imageEngine = nullptr;
};

} // namespace VemoTest
