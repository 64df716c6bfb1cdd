// What the input tests share: a keyboard handle whose events a test writes before each poll, an engine of
// such handles, a filter that notes what it sees and may act, and a front-end keyboard that notes its
// notifications.
#pragma once

#include "engines/input/InputDeviceEngine.h"
#include "engines/input/InputDeviceEvent.h"
#include "engines/input/InputDeviceFilter.h"
#include "engines/input/InputDeviceSystem.h"
#include "engines/input/Keyboard.h"
#include "engines/input/KeyboardHandle.h"
#include "engines/input/Mouse.h"
#include "resources/testing/TestResourceFamily.h"

#include <functional>
#include <string>
#include <vector>

namespace VemoTest {

using Log = std::vector<std::string>;

inline std::string Describe(const Vemo::InputDeviceEvent& event) {
    switch (event.kind) {
    case Vemo::InputDeviceEvent::None:
        return "none";
    case Vemo::InputDeviceEvent::Key:
        return "key " + std::to_string(event.change.code) + (event.change.pressed != 0 ? " down" : " up");
    case Vemo::InputDeviceEvent::MouseButton:
        return "button " + std::to_string(event.change.code) + (event.change.pressed != 0 ? " down" : " up");
    default:
        return "motion " + std::to_string(event.motion.x) + "," + std::to_string(event.motion.y) + "," +
               std::to_string(event.motion.z);
    }
}

// Reads the events a test has put in m_next (after the marker), and notes each dispatched one.
class ScriptedKeyboardHandle : public Vemo::KeyboardHandle {
public:
    ScriptedKeyboardHandle(Vemo::ResourceEngine* engine, Log* log, std::uint32_t index, Vemo::String name)
        : KeyboardHandle(engine), m_log(log), m_index(index), m_name(std::move(name)) {}

    std::uint32_t GetIndex() override { return m_index; }
    bool GetName(Vemo::String& out) override {
        out = m_name;
        return true;
    }
    void ReadEvents(EventQueue& events) override {
        KeyboardHandle::ReadEvents(events);
        for (const Vemo::InputDeviceEvent& event : m_next) {
            events.PushBack(new Vemo::InputDeviceEvent(event));
        }
        m_next.clear();
    }
    void Dispatch(Vemo::InputDeviceEvent* event) override {
        m_log->push_back("dispatch " + Describe(*event));
    }

    void Press(std::uint32_t key, bool down) {
        Vemo::InputDeviceEvent event(0, Vemo::InputDeviceEvent::Key);
        event.change = Vemo::InputDeviceEvent::Change{key, static_cast<std::uint8_t>(down ? 1 : 0)};
        m_next.push_back(event);
    }

    std::vector<Vemo::InputDeviceEvent> m_next;

private:
    Log* m_log;
    std::uint32_t m_index;
    Vemo::String m_name;
};

inline constexpr std::uint32_t kScriptedInputEngineId = 0x01020002;

// Keyboards are scripted handles (index as asked, or 7 when asked by name, named "Keyboard <index>" or as
// asked); mice and joysticks are the base engine's plain handles.
class ScriptedInputEngine : public Vemo::InputDeviceEngine {
public:
    explicit ScriptedInputEngine(Log* log)
        : InputDeviceEngine(kScriptedInputEngineId, "Scripted Input Engine"), m_log(log) {}

    Vemo::KeyboardHandle* CreateKeyboardHandle(const std::uint32_t* index,
                                               const Vemo::String* name) override {
        if (m_refuseCreation) {
            return nullptr;
        }
        const std::uint32_t number = index != nullptr ? *index : 7;
        Vemo::String text =
            name != nullptr ? *name : Vemo::String(("Keyboard " + std::to_string(number)).c_str());
        return new ScriptedKeyboardHandle(this, m_log, number, text);
    }
    bool DestroyKeyboardHandle(Vemo::KeyboardHandle* handle) override {
        if (m_refuseDestruction) {
            return false;
        }
        return InputDeviceEngine::DestroyKeyboardHandle(handle);
    }
    Vemo::ResourceHandle* ShareHandle(Vemo::ResourceHandle* handle, Vemo::Resource* resource) override {
        return m_refuseSharing ? nullptr : InputDeviceEngine::ShareHandle(handle, resource);
    }

    bool m_refuseCreation = false;
    bool m_refuseDestruction = false;
    bool m_refuseSharing = false;

private:
    Log* m_log;
};

// Notes each event it sees as "<name> <event>", then runs its action.
class RecordingFilter : public Vemo::InputDeviceFilter {
public:
    RecordingFilter(std::uint32_t priority, Log* log, std::string name)
        : InputDeviceFilter(priority), m_log(log), m_name(std::move(name)) {}

    bool Filter(Vemo::InputDeviceEvent* event) override {
        m_log->push_back(m_name + " " + Describe(*event));
        if (m_action) {
            m_action(event);
        }
        return true;
    }

    std::function<void(Vemo::InputDeviceEvent*)> m_action;

private:
    Log* m_log;
    std::string m_name;
};

// Notes each notification as "<name> <notification>", then runs its action, which may delete this
// front-end.
class NoticeRecorder {
public:
    NoticeRecorder(Log* log, std::string name) : m_log(log), m_name(std::move(name)) {}

    std::function<void(const std::string& notice)> m_action;

protected:
    void Note(const std::string& notice) {
        m_log->push_back(m_name + " " + notice);
        // A copy: the action may delete this front-end, and with it m_action.
        if (const std::function<void(const std::string&)> action = m_action) {
            action(notice);
        }
    }

private:
    Log* m_log;
    std::string m_name;
};

class RecordingKeyboard : public Vemo::Keyboard, public NoticeRecorder {
public:
    RecordingKeyboard(Log* log, std::string name) : NoticeRecorder(log, std::move(name)) {}
    void KeyDown(std::uint32_t key) override { Note("KeyDown " + std::to_string(key)); }
    void KeyUp(std::uint32_t key) override { Note("KeyUp " + std::to_string(key)); }
};

class RecordingMouse : public Vemo::Mouse, public NoticeRecorder {
public:
    RecordingMouse(Log* log, std::string name) : NoticeRecorder(log, std::move(name)) {}
    void ButtonDown(std::uint32_t button) override { Note("ButtonDown " + std::to_string(button)); }
    void ButtonUp(std::uint32_t button) override { Note("ButtonUp " + std::to_string(button)); }
    void AxisMoved(std::uint32_t axis, std::int32_t delta) override {
        Note("AxisMoved " + std::to_string(axis) + " " + std::to_string(delta));
    }
};

// The input family of a test application, with the scripted engine.
class ScriptedInputSetup {
public:
    ScriptedInputSetup(TestApplication& application, Log* log) : m_application(application) {
        application.m_inputDeviceSystem = Vemo::InputDeviceSystem::Create();
        m_engine =
            static_cast<ScriptedInputEngine*>(Vemo::InputDeviceEngine::Create(new ScriptedInputEngine(log)));
        application.m_inputDeviceSystem->AddEngine(m_engine);
    }
    ScriptedInputSetup(const ScriptedInputSetup&) = delete;
    ScriptedInputSetup& operator=(const ScriptedInputSetup&) = delete;
    ~ScriptedInputSetup() {
        if (m_application.m_inputDeviceSystem != nullptr) {
            m_application.m_inputDeviceSystem->Shutdown();
            m_application.m_inputDeviceSystem = nullptr;
        }
    }

    Vemo::InputDeviceSystem* System() const { return m_application.m_inputDeviceSystem; }
    ScriptedInputEngine* Engine() const { return m_engine; }
    void Update() const { m_application.m_inputDeviceSystem->Update(); }

private:
    TestApplication& m_application;
    ScriptedInputEngine* m_engine = nullptr;
};

} // namespace VemoTest
