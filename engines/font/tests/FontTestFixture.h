// The fixture of the font family's tests: a test application (recording every reported error) with a Graphic
// System and a Font System, one font engine (the Win32 font engine unless a test class asks for the plain
// one), shut down at the end with every GDI object and DC the test made gone: those it leaves on purpose are
// counted and then deleted, so that the tests after it find GDI as this one found it.
//
// Font containers are graphics over memory that the font engine provides. The graphic engine that makes them
// is chosen in one place, ContainerGraphicFixture below.
#pragma once

#include "engines/font/Font.h"
#include "engines/font/FontContainer.h"
#include "engines/font/FontContainerGraphic.h"
#include "engines/font/FontContainerHandle.h"
#include "engines/font/FontEngine.h"
#include "engines/font/FontErrorCodes.h"
#include "engines/font/FontHandle.h"
#include "engines/font/FontSystem.h"
#include "engines/font/win32/Win32FontEngine.h"
#include "engines/graphics/Graphic.h"
#include "engines/graphics/GraphicSystem.h"
#include "engines/graphics/testing/DirectXTestSupport.h"
#include "platform/testing/GdiTesting.h"
#include "resources/error/ErrorCodes.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

namespace VemoTest {

inline const Vemo::TaggedColor kBlack(Vemo::PixelValue(0, 0, 0), 1);
inline const Vemo::TaggedColor kWhite(Vemo::PixelValue(255, 255, 255), 1);

// A colour written 0xRRGGBB, and back.
inline Vemo::PixelValue ValueOf(std::uint32_t rgb) {
    return Vemo::PixelValue(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                            static_cast<std::uint8_t>(rgb));
}

inline std::uint32_t RgbAt(Vemo::Graphic& graphic, std::int32_t x, std::int32_t y) {
    const Vemo::PixelValue color = graphic.GetPixelColor(Vemo::Point(x, y)).rgb;
    return std::uint32_t{color.Red()} << 16 | std::uint32_t{color.Green()} << 8 | color.Blue();
}

// What Font::Open by attributes is given; points at 96 dots per inch, cell height, black on white, no style.
struct FontRequest {
    const char* name = "DejaVu Sans";
    std::uint32_t size = 12;
    std::uint32_t width = 0;
    bool cellHeight = true;
    bool pixelUnits = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool antialiased = false;
    std::uint32_t styleExtra = 0;
    Vemo::TaggedColor foreground = kBlack;
    Vemo::TaggedColor background = kWhite;
};

inline bool OpenFont(Vemo::Font& font, const FontRequest& request) {
    const Vemo::String name(request.name);
    return font.Open(&name, request.size, request.width, request.cellHeight, request.pixelUnits, request.bold,
                     request.italic, request.underline, request.antialiased, request.styleExtra,
                     &request.foreground, &request.background);
}

// The graphic machine the containers' graphics are made on: the product's DirectX 6 engine on a main window,
// headless, as a title makes them.
using ContainerGraphicFixture = DirectX6Test;

class FontFamilyFixture : public ContainerGraphicFixture {
protected:
    void SetUp() override {
        m_gdiBefore = win32::testing::LiveGdiHandles();
        ContainerGraphicFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        m_fontSystem = Vemo::FontSystem::Create();
        ASSERT_NE(m_fontSystem, nullptr);
        m_application.m_fontSystem = m_fontSystem;
        m_fontEngine = MakeFontEngine();
        ASSERT_NE(m_fontEngine, nullptr);
        ASSERT_TRUE(m_fontSystem->AddEngine(m_fontEngine));
        m_application.TakeReports();
    }

    void TearDown() override {
        win32::testing::ClearGdiFailures();
        ShutdownFonts();
        ContainerGraphicFixture::TearDown();
        win32::testing::RemoveAddedFontFiles();
        EXPECT_EQ(win32::testing::LiveGdiObjects(), m_gdiBefore.objects.size() + m_leakedObjects);
        EXPECT_EQ(win32::testing::LiveDeviceContexts(),
                  m_gdiBefore.deviceContexts.size() + m_leakedDeviceContexts);
        win32::testing::DeleteGdiHandlesSince(m_gdiBefore);
    }

    void ShutdownFonts() {
        if (m_fontSystem != nullptr) {
            m_fontSystem->Shutdown();
            m_fontSystem = nullptr;
            m_application.m_fontSystem = nullptr;
        }
    }

    // As the application shuts down: the fonts first, then the graphics.
    void ShutdownSystems() {
        ShutdownFonts();
        if (m_system != nullptr) {
            m_system->Shutdown();
            m_system = nullptr;
            m_application.m_graphicSystem = nullptr;
        }
    }

    // One of the checked-in test fonts ("VemoBlock.ttf", "VemoRaster.bdf") joins the faces fonts are
    // matched from until the test ends.
    static bool AddFixtureFont(const char* file) {
        return win32::testing::AddFontFile(win32::testing::FixtureFontPath(file));
    }

    // The GDI objects or DCs that a test leaves behind on purpose (a delete it made fail).
    void ExpectLeaked(std::size_t objects, std::size_t deviceContexts) {
        m_leakedObjects += objects;
        m_leakedDeviceContexts += deviceContexts;
    }

    virtual Vemo::FontEngine* MakeFontEngine() { return Vemo::Win32FontEngine::Create(); }

    Reports Taken() { return m_application.TakeReports(); }

    // A 32-bit graphic of the graphic engine, filled with the colour.
    bool OpenTarget(Vemo::Graphic& target, std::int32_t width, std::int32_t height,
                    Vemo::PixelValue fill = Vemo::PixelValue(0, 0, 0)) {
        const Vemo::PixelFormat format(Vemo::StandardPixelFormat::Xrgb32);
        return target.Open(width, height, &format, Vemo::GraphicSystem::Memory::System, 1) &&
               target.FillRect(Vemo::Rect(0, 0, width, height), Vemo::Color(fill, 1), true, 3);
    }

    Vemo::FontSystem* m_fontSystem = nullptr;
    Vemo::FontEngine* m_fontEngine = nullptr;

private:
    win32::testing::GdiHandles m_gdiBefore;
    std::size_t m_leakedObjects = 0;
    std::size_t m_leakedDeviceContexts = 0;
};

// The plain Font Engine alone: fonts made from descriptions, containers that draw nothing.
class PlainFontFixture : public FontFamilyFixture {
protected:
    Vemo::FontEngine* MakeFontEngine() override { return Vemo::FontEngine::Create(); }
};

} // namespace VemoTest
