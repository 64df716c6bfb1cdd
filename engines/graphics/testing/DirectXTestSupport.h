// What the DirectX 6 tests share: the window tests' hooks and headless video backend, the application's main
// window, and a Graphic System whose DirectX 6 engine is installed and started on it; helpers that describe
// the usual viewports and read back what a window shows. Every test ends with no DirectDraw object, surface
// or clipper left alive.
#pragma once

#include "engines/graphics/GraphicSystem.h"
#include "engines/graphics/Viewport.h"
#include "engines/graphics/ViewportDescription.h"
#include "engines/graphics/directx/DirectX6GraphicEngine.h"
#include "engines/graphics/directx/DirectX6ViewportHandle.h"
#include "engines/graphics/directx/DirectXWindow.h"
#include "engines/graphics/testing/WindowTestSupport.h"
#include "platform/testing/DirectDrawTesting.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>

namespace VemoTest {

// A bordered, captioned window of 640 x 480 client pixels at client position (40, 30), of the display's
// depth, presenting without waiting for the vertical blank.
inline Vemo::ViewportDescription WindowedDescription(std::uint32_t presentMode, std::uint32_t backBuffers,
                                                     bool flip = false) {
    return Vemo::ViewportDescription("Viewport", Vemo::Point(40, 30), true, Vemo::Size(640, 480), true, false,
                                     true, true, false, 0, 1, presentMode, backBuffers, flip, false);
}

// The 640 x 480 display mode of the depth code.
inline Vemo::ViewportDescription FullscreenDescription(std::uint32_t presentMode, std::uint32_t backBuffers,
                                                       bool flip, std::uint32_t depth = 7) {
    return Vemo::ViewportDescription("Viewport", Vemo::Point(0, 0), true, Vemo::Size(640, 480), true, true,
                                     false, false, false, depth, 1, presentMode, backBuffers, flip, false);
}

inline Vemo::Color Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return Vemo::Color(Vemo::PixelValue(red, green, blue), 1);
}

class DirectX6Test : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        if (UsesSdl()) {
            ASSERT_TRUE(win32::testing::UseDummySdlBackend());
        }
        m_main = std::make_unique<Vemo::DirectXWindow>(true);
        ASSERT_TRUE(Create(*m_main));
        m_system = Vemo::GraphicSystem::Create();
        ASSERT_NE(m_system, nullptr);
        m_application.m_graphicSystem = m_system;
        m_engine = Vemo::DirectX6GraphicEngine::Install();
        ASSERT_NE(m_engine, nullptr);
        ASSERT_TRUE(m_system->AddEngine(m_engine));
        ASSERT_TRUE(m_engine->Start());
        m_application.TakeReports();
    }

    void TearDown() override {
        if (m_system != nullptr) {
            m_system->Shutdown();
            m_application.m_graphicSystem = nullptr;
        }
        m_main.reset();
        ddraw::testing::ClearAnswers();
        EXPECT_EQ(ddraw::testing::LiveSurfaces(), 0);
        EXPECT_EQ(ddraw::testing::LiveClippers(), 0);
        EXPECT_EQ(ddraw::testing::LiveDirectDrawObjects(), 0);
        WindowTest::TearDown();
        if (UsesSdl()) {
            win32::testing::UseVideoBackend(win32::testing::VideoBackendKind::Headless);
        }
    }

    // Real SDL windows under SDL's dummy video driver instead of the headless backend.
    virtual bool UsesSdl() const { return false; }

    static Vemo::DirectX6ViewportHandle* HandleOf(Vemo::Viewport& viewport) {
        return dynamic_cast<Vemo::DirectX6ViewportHandle*>(viewport.GetViewportHandle());
    }

    static win32::HWND WindowOf(Vemo::Viewport& viewport) {
        Vemo::DirectX6ViewportHandle* handle = HandleOf(viewport);
        return handle != nullptr && handle->GetWindow() != nullptr ? handle->GetWindow()->GetWindowHandle()
                                                                   : nullptr;
    }

    // What the window shows; an empty frame (with a failure) when it shows nothing.
    static ddraw::testing::Frame Shown(win32::HWND window) {
        std::optional<ddraw::testing::Frame> frame = ddraw::testing::ReadFrame(window);
        EXPECT_TRUE(frame.has_value()) << "the window shows nothing";
        return frame.value_or(ddraw::testing::Frame{});
    }

    Reports Taken() { return m_application.TakeReports(); }

    std::unique_ptr<Vemo::DirectXWindow> m_main;
    Vemo::GraphicSystem* m_system = nullptr;
    Vemo::DirectX6GraphicEngine* m_engine = nullptr;
};

} // namespace VemoTest
