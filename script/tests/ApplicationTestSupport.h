// Application objects for the tests of the application spine: they log the life-cycle hooks they are called
// through and can be told to fail them or to run a test's code in their frame step and shut-down.
#pragma once

#include "platform/win32/windows/Window.h"
#include "script/Application.h"
#include "script/StateGraph.h"
#include "script/Win32Application.h"

#include <functional>
#include <string>
#include <vector>

namespace ApplicationTest {

using Log = std::vector<std::string>;

template <class Base>
class LifeApplication : public Base {
public:
    LifeApplication() : Base("Life") {}

    bool Initialize(const Vemo::BasicArray<Vemo::String>& arguments) override {
        m_arguments.clear();
        for (const Vemo::String& argument : arguments) {
            m_arguments.emplace_back(argument.CStr(), argument.Length());
        }
        return Base::Initialize(arguments);
    }
    bool OnStartup() override {
        m_log.push_back("OnStartup");
        return !m_failStartup;
    }
    bool CreateStateGraph() override {
        m_log.push_back("CreateStateGraph");
        if (m_graph != nullptr) {
            this->SetStateGraph(m_graph);
            m_graph = nullptr;
        }
        return !m_failCreateStateGraph;
    }
    void OnStep() override {
        m_log.push_back("OnStep");
        if (m_onStep) {
            m_onStep(*this);
        }
    }
    void StepStateGraph() override {
        m_log.push_back("StepStateGraph");
        Base::StepStateGraph();
    }
    bool OnShutdown() override {
        m_log.push_back("OnShutdown");
        if (m_onShutdown) {
            m_onShutdown(*this);
        }
        return !m_failShutdown;
    }

    using Base::SetAllocationFailurePending;
    using Base::SetCurrentTime;

    Log TakeLog() {
        Log taken;
        taken.swap(m_log);
        return taken;
    }

    bool m_failStartup = false;
    bool m_failCreateStateGraph = false;
    bool m_failShutdown = false;
    // Handed over to the application by CreateStateGraph.
    Vemo::StateGraph* m_graph = nullptr;
    std::function<void(LifeApplication&)> m_onStep;
    std::function<void(LifeApplication&)> m_onShutdown;
    std::vector<std::string> m_arguments;
    Log m_log;
};

using BaseApplication = LifeApplication<Vemo::Application>;
using PumpApplication = LifeApplication<Vemo::Win32Application>;

// The instance handle the tests start applications with.
inline win32::HINSTANCE TestInstance() {
    return reinterpret_cast<win32::HINSTANCE>(static_cast<win32::ULONG_PTR>(0x10000));
}

// Empties the calling thread's message queue, a WM_QUIT included, so that no test sees another's messages.
inline void DrainMessages() {
    win32::MSG message;
    while (win32::PeekMessageA(&message, nullptr, 0, 0, win32::PM_REMOVE)) {
    }
}

} // namespace ApplicationTest
