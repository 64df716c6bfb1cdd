// The fixture of the image family's tests: the DirectX 6 tests' main window, Graphic System and DirectX 6
// engine (headless), a test application (recording every reported error) with a fixed drive C: (the volume
// HD0) in a fresh temporary folder and the Win32 storage engine, and an Image System with the standard image
// engine; everything is shut down at the end with every surface gone.
//
// Images decode into surfaces of the DirectX 6 engine. The helpers below are what the tests ask of those
// surfaces: that one is lost, that the engine's restore pass brings it back and tells its graphics, that a
// lock fails.
#pragma once

#include "engines/graphics/Graphic.h"
#include "engines/graphics/GraphicHandle.h"
#include "engines/graphics/directx/DirectX6GraphicEngine.h"
#include "engines/graphics/directx/DirectX6GraphicHandle.h"
#include "engines/graphics/testing/DirectXTestSupport.h"
#include "engines/image/ImageSystem.h"
#include "engines/image/StandardImageEngine.h"
#include "platform/testing/DirectDrawTesting.h"
#include "platform/testing/Drives.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/win32/Win32StorageEngine.h"
#include "resources/testing/StorageTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace VemoTest {

// The graphic's surface is lost, as by a change of the display mode; false for a surface on caller memory,
// which is never lost.
inline bool LoseSurface(Vemo::Graphic& graphic) {
    auto* handle = dynamic_cast<Vemo::DirectX6GraphicHandle*>(graphic.GetGraphicHandle());
    return handle != nullptr && ddraw::testing::LoseSurface(handle->GetSurface());
}

// A graphic that hears of a restore after the graphics attached before it, and keeps whether one of them
// redrew the surface.
class RestoreWitness : public Vemo::Graphic {
public:
    void OnRestored(bool* handled) override {
        m_heard = true;
        m_handled = *handled;
    }

    bool m_heard = false;
    bool m_handled = false;
};

// The engine's restore pass, run as after a display change: the lost surface comes back and its graphics are
// told. Whether a graphic redrew it; false (with a failure) when the surface was not restored.
inline bool RestoreSurface(Vemo::Graphic& graphic) {
    auto* handle = dynamic_cast<Vemo::DirectX6GraphicHandle*>(graphic.GetGraphicHandle());
    RestoreWitness witness;
    if (handle == nullptr || !witness.OpenOnGraphic(graphic)) {
        ADD_FAILURE() << "not a surface of the DirectX 6 engine";
        return false;
    }
    Vemo::DirectX6GraphicEngine* engine = handle->GetDirectX6Engine();
    engine->SetRestorePending(true);
    engine->Update();
    EXPECT_FALSE(engine->IsRestorePending()) << "the restore pass failed";
    EXPECT_TRUE(witness.m_heard) << "the graphics were not told";
    return witness.m_handled;
}

// The next lock of a surface fails: DirectDraw answers that the surface is lost.
inline void FailNextLock() {
    ddraw::testing::Answer(ddraw::testing::Call::Lock, ddraw::DDERR_SURFACELOST);
}

class ImageFamilyFixture : public DirectX6Test {
protected:
    ImageFamilyFixture() : m_drives({{'C', win32::DRIVE_FIXED}}) {}

    void SetUp() override {
        DirectX6Test::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        m_application.m_storageSystem = Vemo::StorageSystem::Create();
        ASSERT_NE(m_application.m_storageSystem, nullptr);
        ASSERT_TRUE(m_application.m_storageSystem->AddEngine(Vemo::Win32StorageEngine::Create()));
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
        if (m_application.m_storageSystem != nullptr) {
            m_application.m_storageSystem->Shutdown();
            m_application.m_storageSystem = nullptr;
        }
        DirectX6Test::TearDown();
    }

    void ShutdownImages() {
        if (m_imageSystem != nullptr) {
            m_imageSystem->Shutdown();
            m_application.m_imageSystem = nullptr;
            m_imageSystem = nullptr;
            m_imageEngine = nullptr;
        }
    }

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
    Vemo::ImageSystem* m_imageSystem = nullptr;
    Vemo::StandardImageEngine* m_imageEngine = nullptr;
};

} // namespace VemoTest
