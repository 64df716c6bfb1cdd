// Support for the viewport tests: the DirectX 6 engine on the headless backend (or SDL's dummy driver), a
// messenger viewport made by the factory from its script section, controls made from the "Control" keys of
// the section [Menu] of the same script under the viewport's root, and the frame loop as the application runs
// it: the message pump, ProcessEvents and DrawFrame. Input goes in at exact pixels of the client area through
// the window system's testing API; frames are read back as the window shows them.
//
//     class MyTest : public ViewportTest::Fixture {};
//     TEST_F(MyTest, ...) {
//         Open("",
//         "[Menu]\nControl=Panel\n[Panel]\nClass=TestPanel\nPosition=2,2\nSize=4,4\nColor=0xFF0000\n");
//         Step();
//         EXPECT_EQ(Shown().At(3, 3), 0xFF0000u);
//     }
#pragma once

#include "engines/graphics/testing/DirectXTestSupport.h"
#include "platform/testing/WindowTesting.h"
#include "runtime/screen/MessengerViewport.h"
#include "runtime/testing/ControlTestSupport.h"
#include "script/MessengerFactory.h"
#include "script/testing/MessengerTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace ViewportTest {

using ControlTest::Describe;
using ControlTest::Draws;
using ControlTest::Events;
using ControlTest::Panel;
using ControlTest::Take;
using MessengerTest::Log;
using MessengerTest::S;
using VemoTest::Reports;
using Event = MessengerViewport::Event;

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;

class Fixture : public VemoTest::DirectX6Test {
protected:
    void SetUp() override {
        VemoTest::DirectX6Test::SetUp();
        Events().clear();
        Draws().clear();
    }

    void TearDown() override {
        m_watchers.Clear();
        delete m_owner;
        m_owner = nullptr;
        m_viewport.reset();
        Taken();
        VemoTest::DirectX6Test::TearDown();
    }

    // The viewport of the section [Viewport] with these keys, from a script that holds the rest as well;
    // null when the factory made none. The controls of [Menu] are made when the viewport opened.
    MessengerViewport* Open(const std::string& keys, const std::string& rest = "") {
        m_script = m_world.AddScript("Main", "[Viewport]\nClass=Viewport\n" + keys + "\n" + rest);
        m_viewport.reset(dynamic_cast<MessengerViewport*>(
            MessengerFactory::CreateFromScript(S("Viewport"), nullptr, m_script)));
        if (m_viewport != nullptr && rest.find("[Menu]") != std::string::npos) {
            m_owner = new Messenger(S("Menu"), nullptr, m_script);
            EXPECT_TRUE(m_owner->ReadScript());
            EXPECT_TRUE(Control::CreateFromScriptKey(m_script, S("Menu"), S("Control"), m_owner, &m_controls,
                                                     m_viewport->GetRootControl(), nullptr));
        }
        Events().clear();
        return m_viewport.get();
    }

    MessengerViewport& Viewport() { return *m_viewport; }
    win32::HWND Window() { return WindowOf(*m_viewport); }

    Panel& Get(const std::string& name) {
        auto* panel = dynamic_cast<Panel*>(Control::FromMessenger(m_owner->FindMessenger(S(name))));
        EXPECT_NE(panel, nullptr) << name;
        return *panel;
    }

    // A recorder subscribed to the control.
    MessengerTest::Recorder& Watch(Control& control) { return m_watchers.Watch(control); }

    // One step of the application: the window's messages, the queued events, the frame.
    void Step() {
        Pump();
        m_viewport->ProcessEvents();
        m_viewport->DrawFrame(true);
    }

    // The screen point of a point of the client area.
    win32::POINT OnScreen(int x, int y) {
        const win32::testing::WindowState state = win32::testing::GetWindowState(Window());
        return win32::POINT{state.clientRect.left + x, state.clientRect.top + y};
    }

    ddraw::testing::Frame Shown() { return DirectX6Test::Shown(Window()); }

    // The queued events as text: "move x,y", "press x,y b", "release x,y b" (with "double" or "repeat"),
    // "key down|up code", "char code", "focus gained|lost".
    Log Queued() {
        Log queued;
        for (const Event& event : m_viewport->GetEvents()) {
            queued.push_back(Describe(event));
        }
        return queued;
    }

    static std::string Describe(const Event& event) {
        const std::string repeat = event.repeat != 0 ? " repeat" : "";
        const std::string point = std::to_string(event.x) + "," + std::to_string(event.y);
        switch (event.kind) {
        case Event::kMouseMove:
            return "move " + point;
        case Event::kMouseButton:
            return std::string(event.down != 0 ? "press " : "release ") + point + " " +
                   std::to_string(event.button) + repeat;
        case Event::kKey:
            return std::string("key ") + (event.down != 0 ? "down " : "up ") +
                   std::to_string(event.scanCode) + repeat;
        case Event::kCharacter:
            return "char " + std::to_string(event.character) + repeat;
        case Event::kFocus:
            return event.lost != 0 ? "focus lost" : "focus gained";
        default:
            return "kind " + std::to_string(event.kind);
        }
    }

    // Whether an error of the code was reported since the last look; the reports are taken.
    bool Reported(Vemo::ErrorCode code) {
        const Reports reports = Taken();
        return std::any_of(reports.begin(), reports.end(),
                           [code](const VemoTest::Reported& report) { return report.m_code == code; });
    }

    // The dirty region of the viewport's control manager.
    std::string Dirty() {
        std::string text;
        for (const Vemo::Rect& rect : m_viewport->GetDirtyRegion()) {
            text += (text.empty() ? "" : " ") + ControlTest::Describe(rect);
        }
        return text;
    }

    MessengerTest::World m_world{false};
    Script* m_script = nullptr;
    std::unique_ptr<MessengerViewport> m_viewport;
    Messenger* m_owner = nullptr;
    Vemo::BasicArray<Control*> m_controls;
    MessengerTest::Watchers m_watchers;
};

// The same under SDL's dummy video driver: real SDL windows and SDL events.
class SdlFixture : public Fixture {
protected:
    bool UsesSdl() const override { return true; }
};

} // namespace ViewportTest
