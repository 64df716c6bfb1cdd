// Support for the tests of bitmaps, the cursor and the controls that show pictures: the image family on the
// DirectX 6 engine (headless) with drive C: as the volume HD0, a timer system on a fake clock, and a
// multimedia application whose search order finds files at the root of C: and whose bitmap cache is made
// and initialised here, as start-up would.
//
//     class MyTest : public PictureTest::Fixture {};
//     TEST_F(MyTest, ...) {
//         WriteFile("art.bmp", PictureTest::Bmp({{0xFF0000, 0x00FF00}}));
//         Bitmap bitmap;
//         ASSERT_TRUE(Configure(bitmap, "art.bmp, Rect(0, 0, 1, 1)"));
//         Seconds(5);                        // the cache's eviction timer ticks five times
//     }
#pragma once

#include "engines/image/testing/ImageFamilyFixture.h"
#include "engines/image/testing/ImageFiles.h"
#include "engines/testing/TimingSetup.h"
#include "platform/testing/Clock.h"
#include "platform/testing/DirectDrawTesting.h"
#include "resources/storage/Path.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/pictures/Bitmap.h"
#include "runtime/pictures/BitmapCache.h"
#include "runtime/screen/MessengerViewport.h"
#include "script/FragmentStream.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"
#include "script/testing/MessengerTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace PictureTest {

using MessengerTest::S;

// A 24-bit BMP of the colour words, rows top to bottom (red in the low byte).
inline VemoTest::Bytes Bmp(const VemoTest::Picture& rows) {
    VemoTest::BmpFile bmp;
    bmp.width = static_cast<std::int32_t>(rows.front().size());
    bmp.height = static_cast<std::int32_t>(rows.size());
    VemoTest::Picture stored(rows.rbegin(), rows.rend());
    for (auto& row : stored) {
        for (auto& word : row) {
            // Stored blue, green, red.
            word = (word & 0xFF) << 16 | (word & 0xFF00) | (word >> 16 & 0xFF);
        }
    }
    bmp.pixels = VemoTest::PackBmpRows(stored, 24);
    return bmp.Encode();
}

// A picture of columns x rows cells of cell x cell pixels, each cell of its own colour (CellColor).
inline std::uint32_t CellColor(std::uint32_t column, std::uint32_t row) {
    return (column + 1) * 8 | ((row + 1) * 24) << 8 | 0x80u << 16;
}

// A colour word as a presented frame holds it (x-R-G-B).
inline std::uint32_t FramePixel(std::uint32_t word) {
    return (word & 0xFF) << 16 | (word & 0xFF00) | (word >> 16 & 0xFF);
}

inline VemoTest::Picture CellGrid(std::uint32_t columns, std::uint32_t rows, std::uint32_t cell) {
    VemoTest::Picture picture(rows * cell, std::vector<std::uint32_t>(columns * cell));
    for (std::uint32_t y = 0; y < rows * cell; ++y) {
        for (std::uint32_t x = 0; x < columns * cell; ++x) {
            picture[y][x] = CellColor(x / cell, y / cell);
        }
    }
    return picture;
}

// Finds files at the root of its volume, keeps the script a test gives it and the viewport a test makes.
class TitleApplication : public MultimediaApplication {
public:
    TitleApplication() : MultimediaApplication(S("PictureTest")) {}
    // The viewports go while the bitmap cache is still there.
    ~TitleApplication() override {
        for (MessengerViewport* viewport : m_viewports) {
            delete viewport;
        }
        m_viewport = nullptr;
    }

    Script* GetScript(const Vemo::String&) override { return m_script; }
    using MultimediaApplication::GetScript;
    int ShowMessage(const Vemo::String*, const Vemo::String*) override { return 0; }
    const Vemo::String& GetConfigFileName() const override { return m_name; }
    const Vemo::String& GetLocaleFileName() const override { return m_name; }
    bool MatchIdent(const Vemo::String&) override { return false; }
    Vemo::Path* ResolveSearchOrderRecord(const Fragment& name, bool) override {
        const bool hd = name.HasChildren() &&
                        name.GetChildren()[0].GetText().CompareNoCase(SubString(Vemo::String("HD"))) == 0;
        return hd ? &m_root : nullptr;
    }

    void UseBitmapCache(BitmapCache* cache) { SetBitmapCache(cache); }
    // Owned from here on; the last one given is the application's viewport.
    void UseViewport(MessengerViewport* viewport) {
        if (viewport != nullptr) {
            m_viewports.push_back(viewport);
            m_viewport = viewport;
        }
    }
    // A viewport deleted by the test.
    void ForgetViewport(MessengerViewport* viewport) {
        m_viewports.erase(std::remove(m_viewports.begin(), m_viewports.end(), viewport), m_viewports.end());
        if (m_viewport == viewport) {
            m_viewport = nullptr;
        }
    }

    Vemo::Path m_root;
    Script* m_script = nullptr;

private:
    Vemo::String m_name{"Test.ini"};
    std::vector<MessengerViewport*> m_viewports;
};

class Fixture : public VemoTest::ImageFamilyFixture {
protected:
    void SetUp() override {
        VemoTest::ImageFamilyFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        if (UsesFakeClock()) {
            m_clock = std::make_unique<platform::testing::FakeClock>(0x10000);
        }
        m_timing = std::make_unique<VemoTest::TimingSetup>(m_application);
        m_title = std::make_unique<TitleApplication>();
        ASSERT_TRUE(m_title->m_root.Parse(S("HD0:/")));
        auto* cache = new BitmapCache;
        ASSERT_TRUE(cache->Initialize());
        m_title->UseBitmapCache(cache);
        m_application.TakeReports();
    }

    void TearDown() override {
        m_title.reset();
        m_scripts.clear();
        m_timing.reset();
        m_clock.reset();
        VemoTest::ImageFamilyFixture::TearDown();
    }

    // Tests of other threads run on the host's clock.
    virtual bool UsesFakeClock() const { return true; }

    BitmapCache& Cache() { return *m_title->GetBitmapCache(); }

    // The bitmap configured from a value text, as a control configures its pictures.
    static bool Configure(Bitmap& bitmap, const std::string& value, const Vemo::PixelFormat* format = nullptr,
                          unsigned memoryClass = 0, const Vemo::Color* transparent = nullptr) {
        const Vemo::BasicArray<Fragment> fragments = MessengerTest::Parsed(value);
        FragmentStream stream(fragments);
        return bitmap.Configure(stream, format, memoryClass, nullptr, transparent);
    }

    // Whole seconds pass on the clock and the timer system updates once.
    void Seconds(std::uint32_t seconds) {
        m_clock->Advance(seconds * 1000);
        m_timing->Update();
    }

    void Milliseconds(std::uint32_t milliseconds) {
        m_clock->Advance(milliseconds);
        m_timing->Update();
    }

    // The viewport of the script's section [Viewport], made through the factory; the application owns it.
    MessengerViewport* MakeViewport(const std::string& script) {
        Script* loaded = LoadScript(script);
        auto* viewport = dynamic_cast<MessengerViewport*>(
            MessengerFactory::CreateFromScript(S("Viewport"), m_title.get(), loaded));
        m_title->UseViewport(viewport);
        return viewport;
    }

    // A 64 x 48 viewport in 32 bits whose cursor is a grid of 24 x 8 cells (CellGrid, written here as
    // "cursor.bmp"); the sections are added to its script.
    MessengerViewport* MakeCursorViewport(const std::string& sections = "") {
        WriteFile("cursor.bmp", Bmp(CellGrid(24, 8, 26)));
        return MakeViewport("[Viewport]\nClass=Viewport\nSize=64, 48\nDepth=32\nCursor=cursor.bmp\n" +
                            sections);
    }

    // The column and row of the grid's cell whose colour the viewport's window shows at the point, "-" for
    // none.
    static std::string ShownCell(MessengerViewport& viewport, int x, int y) {
        const auto frame = ddraw::testing::ReadFrame(WindowOf(viewport));
        if (!frame || x >= frame->width || y >= frame->height) {
            return "-";
        }
        for (std::uint32_t row = 0; row < 8; ++row) {
            for (std::uint32_t column = 0; column < 24; ++column) {
                if (FramePixel(CellColor(column, row)) == frame->At(x, y)) {
                    return std::to_string(column) + "," + std::to_string(row);
                }
            }
        }
        return "-";
    }

    // A script of the text, kept for the test, served by the application.
    Script* LoadScript(const std::string& text) {
        m_scripts.push_back(std::make_unique<Script>());
        EXPECT_TRUE(m_scripts.back()->LoadBuffer(text.data(), text.size(), false));
        m_title->m_script = m_scripts.back().get();
        return m_scripts.back().get();
    }

    std::unique_ptr<platform::testing::FakeClock> m_clock;
    std::unique_ptr<VemoTest::TimingSetup> m_timing;
    std::unique_ptr<TitleApplication> m_title;
    std::vector<std::unique_ptr<Script>> m_scripts;
};

} // namespace PictureTest
