// Support for the tests of the controls that show pictures: the picture fixture (the image family on the
// DirectX 6 engine, headless, the bitmap cache of a title application that finds files at the root of C:,
// a fake clock and the timer family) with a messenger viewport of 40 x 30 pixels at 32 bits, the controls of
// the section [Menu] under its root, and the application's step: timers, every control's Idle, the window's
// messages, the viewport's events and frame.
//
//     class MyTest : public PictureControlTest::Fixture {};
//     TEST_F(MyTest, ...) {
//         WriteFile("art.bmp", PictureTest::Bmp({{0xFF0000, 0x00FF00}}));
//         Open("[Menu]\nControl=Pic\n[Pic]\nClass=ImageControl\nBitmap=art.bmp\n");
//         Step();
//         EXPECT_EQ(Shown().At(1, 0), 0x00FF00u);
//     }
#pragma once

#include "runtime/screen/MessengerViewport.h"
#include "runtime/testing/ControlTestSupport.h"
#include "runtime/testing/PictureTestSupport.h"
#include "script/MessengerFactory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace PictureControlTest {

using MessengerTest::Log;
using MessengerTest::S;
using VemoTest::Reports;

constexpr Vemo::ErrorCode kFailure = Control::kErrorFailure;
constexpr std::uint32_t kBack = 0x808080;

// The shown colour (0xRRGGBB) of a colour word of PictureTest::Bmp (red in the low byte), and back.
inline std::uint32_t Swapped(std::uint32_t word) {
    return (word & 0xFF) << 16 | (word & 0xFF00) | (word >> 16 & 0xFF);
}

inline VemoTest::Picture Swapped(VemoTest::Picture picture) {
    for (auto& row : picture) {
        for (auto& word : row) {
            word = Swapped(word);
        }
    }
    return picture;
}

// A BMP file that shows the colours as written (0xRRGGBB).
inline VemoTest::Bytes ShownBmp(const VemoTest::Picture& rows) {
    return PictureTest::Bmp(Swapped(rows));
}

class Fixture : public PictureTest::Fixture {
protected:
    void TearDown() override {
        Close();
        PictureTest::Fixture::TearDown();
    }

    // The controls and the viewport are gone.
    void Close() {
        m_watchers.Clear();
        delete m_owner;
        m_owner = nullptr;
        m_controls.Clear();
        if (m_viewport != nullptr) {
            m_title->ForgetViewport(m_viewport);
            delete m_viewport;
            m_viewport = nullptr;
        }
    }

    // The viewport and, under its root, a grey panel "Back" behind the controls of [Menu]; those of an
    // earlier Open are gone.
    void Open(const std::string& menu) { ASSERT_TRUE(TryOpen(menu)); }

    // As Open; whether every control of [Menu] was made.
    bool TryOpen(const std::string& menu) {
        Close();
        m_script = LoadScript("[Viewport]\nClass=Viewport\nSize=40, 30\nDepth=32\n" + menu +
                              "\n[Back]\nClass=TestPanel\nPosition=0,0\nSize=40,30\nColor=0x808080\n");
        m_viewport = dynamic_cast<MessengerViewport*>(
            MessengerFactory::CreateFromScript(S("Viewport"), m_title.get(), m_script));
        EXPECT_NE(m_viewport, nullptr);
        if (m_viewport == nullptr) {
            return false;
        }
        m_title->UseViewport(m_viewport);
        m_owner = new Messenger(S("Menu"), nullptr, m_script);
        EXPECT_TRUE(m_owner->ReadScript());
        Vemo::BasicArray<Fragment> back;
        back.PushBack(Fragment(SubString(S("Back")), false));
        FragmentStream backValue(back);
        EXPECT_TRUE(Control::CreateFromScript(backValue, m_owner, m_script, &m_controls, Root(), nullptr));
        const bool created = Control::CreateFromScriptKey(m_script, S("Menu"), S("Control"), m_owner,
                                                          &m_controls, Root(), nullptr);
        ControlTest::Events().clear();
        return created;
    }

    Control* Root() { return m_viewport->GetRootControl(); }
    Control* Find(const std::string& name) { return Control::FromMessenger(m_owner->FindMessenger(S(name))); }

    template <class T>
    T& Get(const std::string& name) {
        auto* control = dynamic_cast<T*>(Find(name));
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }

    bool Send(const std::string& control, const std::string& text) {
        Control* target = Find(control);
        EXPECT_NE(target, nullptr) << control;
        return target != nullptr && m_owner->SendText(S(text), target);
    }

    MessengerTest::Recorder& Watch(Control& control) { return m_watchers.Watch(control); }

    // Time passes, then the application's step.
    void Step(std::uint32_t milliseconds = 0) {
        Milliseconds(milliseconds);
        for (Control* control : m_controls) {
            control->Idle();
        }
        Pump();
        m_viewport->ProcessEvents();
        m_viewport->DrawFrame(true);
    }

    ddraw::testing::Frame Shown() { return DirectX6Test::Shown(WindowOf(*m_viewport)); }

    // The shown pixels of the area, row by row.
    std::vector<std::vector<std::uint32_t>> Pixels(const Vemo::Rect& area) {
        const ddraw::testing::Frame frame = Shown();
        std::vector<std::vector<std::uint32_t>> rows;
        for (std::int32_t y = area.top; y < area.bottom; ++y) {
            rows.emplace_back();
            for (std::int32_t x = area.left; x < area.right; ++x) {
                rows.back().push_back(frame.At(x, y) & 0xFFFFFF);
            }
        }
        return rows;
    }

    MessengerViewport* m_viewport = nullptr;
    // The script of the last Open.
    Script* m_script = nullptr;
    Messenger* m_owner = nullptr;
    Vemo::BasicArray<Control*> m_controls;
    MessengerTest::Watchers m_watchers;
};

} // namespace PictureControlTest
