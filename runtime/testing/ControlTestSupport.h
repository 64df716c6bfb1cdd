// Support for the control tests: a control class that fills its rectangle with one colour and records what
// happens to it, a behaviour class that records its hooks and can veto, and a fixture that makes a control
// manager, a drawing viewport and controls from a real script through the factory:
//
//     class MyTest : public ControlTest::Fixture {};
//     TEST_F(MyTest, ...) {
//         Load("[Menu]\nControl=Panel\n[Panel]\nClass=TestPanel\nPosition=2,2\nSize=4,4\nColor=0xFF0000\n");
//         Panel& panel = Get("Panel");
//         DrawFrame();
//         EXPECT_EQ(Pixel(3, 3), 0xFF0000u);
//     }
//
// Events of every test control and behaviour go to one log, in order: "Panel Shown", "Panel Pressed 1,1 0",
// "Glow:Panel Hidden" (a behaviour's hook, named behaviour:control). Drawing goes to a log of its own:
// "Panel 0,0,4,4" (the local part). UpdateAppearance is counted, not logged.
#pragma once

#include "engines/graphics/GraphicSystem.h"
#include "engines/graphics/PixelFormat.h"
#include "engines/graphics/Viewport.h"
#include "engines/graphics/ViewportDescription.h"
#include "resources/testing/TestResourceFamily.h"
#include "runtime/screen/Control.h"
#include "runtime/screen/ControlBehavior.h"
#include "runtime/screen/ControlManager.h"
#include "runtime/testing/DrawingGraphicEngine.h"
#include "script/FragmentStream.h"
#include "script/testing/MessengerTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ControlTest {

using MessengerTest::Log;
using MessengerTest::S;
using MessengerTest::Text;
using VemoTest::Reports;

constexpr Vemo::ErrorCode kFailure = Control::kErrorFailure;

inline Log& Events() {
    static Log events;
    return events;
}

inline Log& Draws() {
    static Log draws;
    return draws;
}

inline std::string Describe(const Vemo::Rect& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) +
           "," + std::to_string(rect.bottom);
}

inline std::string Describe(const Vemo::Point& point) {
    return std::to_string(point.x) + "," + std::to_string(point.y);
}

inline Log Take(Log& log) {
    Log taken;
    taken.swap(log);
    return taken;
}

// The value of a key of the messenger's own section, when present.
inline const Vemo::BasicArray<Fragment>* KeyOf(Messenger& messenger, const char* key) {
    const Vemo::BasicArray<Fragment>* value = nullptr;
    if (messenger.GetScript() == nullptr ||
        !messenger.GetScript()->GetFragments(messenger.GetSectionName(), Vemo::String(key), value)) {
        return nullptr;
    }
    return value;
}

// Fills its part with "Color" (a raw pixel); opaque unless "Opaque" says false. m_onEvent runs after each
// logged event, with the event's name.
class Panel : public Control {
public:
    Panel(const Vemo::String& name, Messenger* owner, Script* script) : Control(name, owner, script) {}

    static const Vemo::String& ClassWord() {
        static const Vemo::String word("TestPanel");
        return word;
    }

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script) {
        auto* panel = new Panel(name, owner, script);
        if (!panel->ReadScript()) {
            delete panel;
            return nullptr;
        }
        bool opaque = true;
        if (const auto* value = KeyOf(*panel, "Color")) {
            FragmentStream(*value) >> panel->m_color;
        }
        if (const auto* value = KeyOf(*panel, "Opaque")) {
            FragmentStream(*value) >> opaque;
        }
        panel->SetTransparent(!opaque);
        return panel;
    }

    Vemo::String GetClassName() const override { return ClassWord(); }

    bool ContainsPoint(const Vemo::Point& local) override {
        Record("HitTest " + Describe(local), false);
        return m_hit;
    }
    void Draw(const Vemo::Rect& localPart) override {
        Draws().push_back(Text(GetName()) + " " + Describe(localPart));
        FillRect(localPart, m_color, true, 3);
        if (m_onDraw) {
            m_onDraw(*this, localPart);
        }
    }
    void OnParentChanged() override { Record("ParentChanged"); }
    void OnAttached() override { Record("Attached"); }
    void OnDetached() override { Record("Detached"); }
    void OnZOrderChanged() override { Record("ZOrderChanged"); }
    void OnMoved() override { Record("Moved"); }
    void OnResized() override { Record("Resized"); }
    void OnRectangleChanged() override { Record("RectangleChanged"); }
    void OnShown() override { Record("Shown"); }
    void OnHidden() override { Record("Hidden"); }
    void OnEnabled() override { Record("Enabled"); }
    void OnDisabled() override { Record("Disabled"); }
    bool OnActivated() override {
        Record("Activated");
        return !m_refuseActivation;
    }
    void OnDeactivated() override { Record("Deactivated"); }
    bool Prepare() override {
        ++m_prepared;
        return !m_refusePreparation;
    }
    void UpdateAppearance() override { ++m_appearanceUpdates; }
    void OnPressed(const Vemo::Point& local, unsigned button) override {
        Record("Pressed " + Describe(local) + " " + std::to_string(button));
        Control::OnPressed(local, button);
    }
    void OnReleased(const Vemo::Point& local, unsigned button) override {
        Record("Released " + Describe(local) + " " + std::to_string(button));
        Control::OnReleased(local, button);
    }
    void OnMouseEnter(const Vemo::Point& local) override {
        Record("Enter " + Describe(local));
        Control::OnMouseEnter(local);
    }
    void OnMouseExit(const Vemo::Point& local) override {
        Record("Exit " + Describe(local));
        Control::OnMouseExit(local);
    }
    void OnMouseMove(const Vemo::Point& local) override { Record("Move " + Describe(local)); }
    void OnKeyDown(unsigned key, unsigned extra) override {
        Record("KeyDown " + std::to_string(key) + " " + std::to_string(extra));
    }
    void OnKeyUp(unsigned key) override { Record("KeyUp " + std::to_string(key)); }
    void OnKeyCharacter(unsigned code, unsigned extra) override {
        Record("Character " + std::to_string(code) + " " + std::to_string(extra));
    }
    void OnGotFocus(bool byMouse) override { Record(byMouse ? "GotFocus by mouse" : "GotFocus"); }
    void OnLostFocus() override { Record("LostFocus"); }
    void OnMouseCaptured() override { Record("Captured"); }
    void OnMouseCaptureLost() override { Record("CaptureLost"); }
    void OnGrabbed() override { Record("Grabbed"); }
    void OnReleasedGrab(bool byButton) override {
        Record(byButton ? "GrabReleased by button" : "GrabReleased");
    }
    bool OnPowerEvent(unsigned code) override {
        Record("Power " + std::to_string(code));
        return !m_refusePower;
    }

    std::uint32_t m_color = 0;
    bool m_hit = true;
    bool m_refuseActivation = false;
    bool m_refusePreparation = false;
    bool m_refusePower = false;
    int m_prepared = 0;
    int m_appearanceUpdates = 0;
    std::function<void(Panel&, const std::string&)> m_onEvent;
    std::function<void(Panel&, const Vemo::Rect&)> m_onDraw;

private:
    void Record(const std::string& event, bool logged = true) {
        if (logged) {
            Events().push_back(Text(GetName()) + " " + event);
        }
        if (m_onEvent) {
            m_onEvent(*this, event.substr(0, event.find(' ')));
        }
    }
};

inline const MessengerFactory::Registrar g_panelRegistrar(Panel::ClassWord(), &Panel::Create);

// Records its hooks. "Veto" lists the flag setters it refuses (Transparent, Visible, Enable, Active); "Hit"
// replaces the control's hit-test answer; "Refuse" lists the hooks that answer false (Activated, Prepare,
// Message).
class Behavior : public ControlBehavior {
public:
    Behavior(const Vemo::String& name, Messenger* owner, Script* script)
        : ControlBehavior(name, owner, script) {}

    static const Vemo::String& ClassWord() {
        static const Vemo::String word("TestBehavior");
        return word;
    }

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script) {
        auto* behavior = new Behavior(name, owner, script);
        if (!behavior->ReadScript()) {
            delete behavior;
            return nullptr;
        }
        behavior->m_vetoes = Words(*behavior, "Veto");
        behavior->m_refusals = Words(*behavior, "Refuse");
        if (const auto* value = KeyOf(*behavior, "Hit")) {
            bool hit = true;
            FragmentStream(*value) >> hit;
            behavior->m_hit = hit ? 1 : 0;
        }
        return behavior;
    }

    Vemo::String GetClassName() const override { return ClassWord(); }

    bool AllowTransparent(bool) override { return Allow("Transparent"); }
    bool AllowVisible(bool) override { return Allow("Visible"); }
    bool AllowEnabled(bool) override { return Allow("Enable"); }
    bool AllowActive(bool) override { return Allow("Active"); }
    void OnIdle() override { Record("Idle"); }
    void OnHitTest(const Vemo::Point&, bool& hit) override {
        if (m_hit >= 0) {
            hit = m_hit != 0;
        }
    }
    void OnDraw(const Vemo::Rect& localPart) override {
        Draws().push_back(Text(GetName()) + " " + Describe(localPart));
    }
    void OnParentChanged() override { Record("ParentChanged"); }
    void OnControlAttached() override { Record("Attached"); }
    void OnControlDetached() override { Record("Detached"); }
    void OnMoved() override { Record("Moved"); }
    void OnShown() override { Record("Shown"); }
    void OnHidden() override { Record("Hidden"); }
    void OnDisabled() override { Record("Disabled"); }
    bool OnActivated() override {
        Record("Activated");
        return !Refuses("Activated");
    }
    bool OnPrepare() override { return !Refuses("Prepare"); }
    void OnPressed(const Vemo::Point& local, unsigned button) override {
        Record("Pressed " + Describe(local) + " " + std::to_string(button));
    }
    void OnKeyDown(unsigned key, unsigned) override { Record("KeyDown " + std::to_string(key)); }
    void OnGotFocus(bool) override { Record("GotFocus"); }
    bool OnMessage(const Fragment& message, Messenger*) override {
        Record("Message " + MessengerTest::Written(message));
        return !Refuses("Message");
    }
    void OnAttached() override { Record("AttachedTo"); }
    void OnDetached() override { Record("DetachedFrom"); }

    std::vector<std::string> m_vetoes;
    std::vector<std::string> m_refusals;
    int m_hit = -1;

private:
    static std::vector<std::string> Words(Messenger& messenger, const char* key) {
        std::vector<std::string> words;
        if (const auto* value = KeyOf(messenger, key)) {
            for (const Fragment& word : *value) {
                words.push_back(MessengerTest::Written(word));
            }
        }
        return words;
    }

    bool Allow(const char* flag) {
        Record(std::string("Allow") + flag);
        return std::find(m_vetoes.begin(), m_vetoes.end(), flag) == m_vetoes.end();
    }
    bool Refuses(const char* hook) const {
        return std::find(m_refusals.begin(), m_refusals.end(), hook) != m_refusals.end();
    }
    void Record(const std::string& event) {
        const std::string control = GetControl() != nullptr ? Text(GetControl()->GetName()) : "-";
        Events().push_back(Text(GetName()) + ":" + control + " " + event);
    }
};

inline const MessengerFactory::Registrar g_behaviorRegistrar(Behavior::ClassWord(), &Behavior::Create);

// A manager of a 40 x 30 root and an open 40 x 30 viewport with one back buffer over the drawing engine, the
// messenger "Menu" that owns the controls a test loads from its "Control" keys, and the test's errors.
class Fixture : public ::testing::Test {
protected:
    static constexpr std::int32_t kWidth = 40;
    static constexpr std::int32_t kHeight = 30;

    void SetUp() override {
        Events().clear();
        Draws().clear();
        m_graphicSystem = Vemo::GraphicSystem::Create();
        ASSERT_NE(m_graphicSystem, nullptr);
        m_systems.m_graphicSystem = m_graphicSystem;
        ASSERT_TRUE(m_graphicSystem->AddEngine(VemoTest::DrawingGraphicEngine::Make()));
        const Vemo::ViewportDescription description(Vemo::String(""), Vemo::Point(0, 0), true,
                                                    Vemo::Size(kWidth, kHeight), true, false, true, true,
                                                    false, 7, 1, 2, 1, false, false);
        ASSERT_TRUE(m_viewport->Open(description));
        m_manager = MakeManager("Screen");
        ASSERT_NE(m_manager, nullptr);
        m_systems.TakeReports();
    }

    void TearDown() override {
        delete m_owner;
        m_owner = nullptr;
        delete m_manager;
        m_manager = nullptr;
        m_viewport.reset();
        m_graphicSystem->Shutdown();
        m_systems.m_graphicSystem = nullptr;
        EXPECT_EQ(VemoTest::g_liveGraphicTestHandles, 0);
    }

    // A manager whose root covers the viewport, without a script.
    ControlManager* MakeManager(const char* name) {
        auto* manager = new ControlManager(S(name), nullptr, nullptr);
        if (!manager->ReadScript()) {
            delete manager;
            return nullptr;
        }
        manager->GetRootControl()->SetRectangle(Vemo::Rect(0, 0, kWidth, kHeight));
        return manager;
    }

    // Loads the script and creates the controls of the "Control" keys of its section [Menu], under the
    // root, with their behaviours. The event log then starts empty.
    bool Load(const std::string& text, Control* parent = nullptr) {
        m_script = m_world.AddScript("Main", text);
        m_owner = new Messenger(S("Menu"), nullptr, m_script);
        EXPECT_TRUE(m_owner->ReadScript());
        const bool created =
            Control::CreateFromScriptKey(m_script, S("Menu"), S("Control"), m_owner, &m_controls,
                                         parent != nullptr ? parent : Root(), &m_behaviors);
        Events().clear();
        return created;
    }

    Control* Root() { return m_manager->GetRootControl(); }

    Control* Find(const std::string& name) { return Control::FromMessenger(m_owner->FindMessenger(S(name))); }

    Panel& Get(const std::string& name) {
        auto* panel = dynamic_cast<Panel*>(Find(name));
        EXPECT_NE(panel, nullptr) << name;
        return *panel;
    }

    Behavior& GetBehavior(const std::string& name) {
        auto* behavior = dynamic_cast<Behavior*>(m_owner->FindMessenger(S(name)));
        EXPECT_NE(behavior, nullptr) << name;
        return *behavior;
    }

    // A recorder that subscribes to the control, its own "Subscribed" taken.
    MessengerTest::Recorder* Watch(Control& control) { return &m_watchers.Watch(control); }

    std::vector<std::string> Children(Control& parent) {
        std::vector<std::string> names;
        for (Control* child = parent.GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
            names.push_back(Text(child->GetName()));
        }
        return names;
    }

    // The manager's draw pass into the viewport; the bounds it answered.
    Vemo::Rect DrawFrame() {
        Vemo::Rect bounds;
        m_manager->Draw(bounds, *m_viewport);
        return bounds;
    }

    void FillBuffer(std::uint32_t pixel) {
        m_viewport->SetClipRect(Vemo::Rect(0, 0, kWidth, kHeight));
        m_viewport->FillRect(Vemo::Rect(0, 0, kWidth, kHeight), pixel, true, 3);
    }

    std::uint32_t Pixel(std::int32_t x, std::int32_t y) {
        return VemoTest::DrawingViewportHandle::Of(*m_viewport)->DrawingBuffer()->PixelAt(x, y);
    }

    // The rows of the back buffer from top to bottom, one character a pixel: the key of its colour in the
    // legend, '?' for a colour the legend lacks.
    std::vector<std::string> Picture(const std::vector<std::pair<std::uint32_t, char>>& legend,
                                     const Vemo::Rect& area) {
        std::vector<std::string> rows;
        for (std::int32_t y = area.top; y < area.bottom; ++y) {
            std::string row;
            for (std::int32_t x = area.left; x < area.right; ++x) {
                char key = '?';
                for (const auto& [pixel, character] : legend) {
                    if (Pixel(x, y) == pixel) {
                        key = character;
                    }
                }
                row += key;
            }
            rows.push_back(row);
        }
        return rows;
    }

    std::string Dirty() {
        std::string text;
        for (const Vemo::Rect& rect : m_manager->GetDirtyRegion()) {
            text += (text.empty() ? "" : " ") + Describe(rect);
        }
        return text;
    }

    Reports TakeReports() { return m_systems.TakeReports(); }

    VemoTest::TestApplication m_systems;
    MessengerTest::World m_world{false};
    Vemo::GraphicSystem* m_graphicSystem = nullptr;
    std::unique_ptr<Vemo::Viewport> m_viewport = std::make_unique<Vemo::Viewport>();
    ControlManager* m_manager = nullptr;
    Script* m_script = nullptr;
    Messenger* m_owner = nullptr;
    Vemo::BasicArray<Control*> m_controls;
    Vemo::BasicArray<ControlBehavior*> m_behaviors;
    MessengerTest::Watchers m_watchers;
};

} // namespace ControlTest
