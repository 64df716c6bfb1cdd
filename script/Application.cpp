#include "script/Application.h"

#include "platform/win32/windows/RunLoopPacing.h"
#include "resources/SystemAccessors.h"
#include "resources/error/Error.h"
#include "script/StateGraph.h"

#include <new>

namespace Vemo {

namespace {

Application* g_current = nullptr;

void ReportIfErrorSystemExists(ErrorCode code) {
    if (GetErrorSystem() != nullptr) {
        RaiseError(code);
    }
}

} // namespace

Application::Application(const String& name) : m_name(name) {
    g_current = this;
}

Application::~Application() {
    if (g_current == this) {
        g_current = nullptr;
    }
}

void Application::AuxiliaryOperationA() {}

void Application::AuxiliaryOperationB() {}

Application* Application::GetCurrent() {
    return g_current;
}

bool Application::SetName(const String& name) {
    m_name = name;
    return true;
}

String& Application::GetName() {
    return m_name;
}

bool Application::Initialize(const BasicArray<String>&) {
    if (!OnStartup()) {
        RaiseError(kErrorOnStartup);
        return false;
    }
    if (!CreateStateGraph()) {
        RaiseError(kErrorCreateStateGraph);
        return false;
    }
    if (m_stateGraph != nullptr && !m_stateGraph->Start()) {
        RaiseError(kErrorStartStateGraph);
        return false;
    }
    return true;
}

bool Application::Run() {
    while (m_quit == 0) {
        Step();
        // Between steps a scripted headless run moves its clock and feeds its next steps, and any other run
        // sleeps while it has nothing to show.
        win32::EndRunLoopStep();
    }
    return m_exitSuccess != 0;
}

bool Application::Shutdown() {
    bool result = true;
    if (m_stateGraph != nullptr) {
        if (!m_stateGraph->Stop()) {
            ReportIfErrorSystemExists(kErrorStopStateGraph);
            result = false;
        }
        StateGraph* graph = m_stateGraph;
        m_stateGraph = nullptr;
        delete graph;
    }
    if (!OnShutdown()) {
        ReportIfErrorSystemExists(kErrorOnShutdown);
        return false;
    }
    return result;
}

void Application::Step() {
    if (m_allocationFailurePending != 0) {
        m_allocationFailurePending = 0;
        throw std::bad_alloc();
    }
    // Unsigned arithmetic keeps the difference right across a wrap of the clock.
    m_elapsedTime = m_currentTime - m_previousTime;
    m_previousTime = m_currentTime;
    OnStep();
    StepStateGraph();
}

void Application::Quit() {
    m_quit = 1;
}

bool Application::SetExitSuccess(bool success) {
    m_exitSuccess = success ? 1 : 0;
    return success;
}

bool Application::AuxiliaryHookA() {
    return true;
}

bool Application::AuxiliaryHookB() {
    return true;
}

bool Application::OnStartup() {
    return true;
}

bool Application::OnShutdown() {
    return true;
}

void Application::OnStep() {}

void Application::StepStateGraph() {
    if (m_stateGraph != nullptr) {
        m_stateGraph->Step();
    }
}

bool Application::CreateStateGraph() {
    return true;
}

} // namespace Vemo
