// The application object: one per process, driven through its life by RunApplication (Initialize, then Run,
// which repeats the frame step until the quit flag is set, then Shutdown). Derived classes build their world
// in OnStartup, create the top-level state graph in CreateStateGraph, do their periodic work in OnStep and
// tear everything down in OnShutdown.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/String.h"
#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"
#include "script/Locale.h"

#include <cstdint>

namespace Vemo {

class StateGraph;

class Application {
public:
    // Numbers 3 and 4 are unused; 10 to 17 belong to the derived application classes and their error engine.
    static constexpr ErrorCode kErrorAllocationFailure = MakeErrorCode(kApplicationFacility, 1);
    static constexpr ErrorCode kErrorException = MakeErrorCode(kApplicationFacility, 2);
    static constexpr ErrorCode kErrorOnStartup = MakeErrorCode(kApplicationFacility, 5);
    static constexpr ErrorCode kErrorOnShutdown = MakeErrorCode(kApplicationFacility, 6);
    static constexpr ErrorCode kErrorCreateStateGraph = MakeErrorCode(kApplicationFacility, 7);
    static constexpr ErrorCode kErrorStartStateGraph = MakeErrorCode(kApplicationFacility, 8);
    static constexpr ErrorCode kErrorStopStateGraph = MakeErrorCode(kApplicationFacility, 9);

    // Becomes the current application.
    explicit Application(const String& name);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    // Stops being the current application. The state graph is Shutdown's to delete, not the destructor's.
    virtual ~Application();

    // Two slots kept free for the application classes' own use; they do nothing, and nothing calls them.
    virtual void AuxiliaryOperationA();
    virtual void AuxiliaryOperationB();

    virtual bool SetName(const String& name);
    virtual String& GetName();

    // OnStartup, CreateStateGraph, then the state graph's Start; each failure is reported and ends with
    // false. The base takes no arguments.
    virtual bool Initialize(const BasicArray<String>& arguments);
    // Steps until the quit flag is set (not once when it is already set); the exit-success flag.
    virtual bool Run();
    // Stops and deletes the state graph, then OnShutdown. Also runs after a failed Initialize.
    virtual bool Shutdown();
    // The frame step: takes the time elapsed since the previous step from the current time a derived class
    // stored, then OnStep and StepStateGraph.
    virtual void Step();
    virtual void Quit();
    virtual bool SetExitSuccess(bool success);

    // Two hooks that answer true; no class overrides them and nothing calls them.
    virtual bool AuxiliaryHookA();
    virtual bool AuxiliaryHookB();

    virtual bool OnStartup();
    virtual bool OnShutdown();
    virtual void OnStep();
    virtual void StepStateGraph();
    // Creates the top-level state graph, if the application has one, and stores it with SetStateGraph.
    virtual bool CreateStateGraph();

    // Null before the first Application is constructed and after the current one is destroyed.
    static Application* GetCurrent();

    StateGraph* GetStateGraph() const { return m_stateGraph; }
    bool IsQuitting() const { return m_quit != 0; }
    bool GetExitSuccess() const { return m_exitSuccess != 0; }
    std::uint32_t GetCurrentTime() const { return m_currentTime; }
    std::uint32_t GetElapsedTime() const { return m_elapsedTime; }
    std::uint32_t GetPreviousTime() const { return m_previousTime; }
    Locale& GetLocale() { return m_locale; }

protected:
    // The application owns the graph from here on.
    void SetStateGraph(StateGraph* graph) { m_stateGraph = graph; }
    void SetCurrentTime(std::uint32_t now) { m_currentTime = now; }
    // The next frame step throws an allocation failure instead of running.
    void SetAllocationFailurePending() { m_allocationFailurePending = 1; }

private:
    StateGraph* m_stateGraph = nullptr;
    std::uint8_t m_allocationFailurePending = 0;
    std::uint8_t m_quit = 0;
    std::uint8_t m_exitSuccess = 1;
    String m_name;
    std::uint32_t m_currentTime = 0;
    std::uint32_t m_elapsedTime = 0;
    std::uint32_t m_previousTime = 0;
    Locale m_locale;
};

inline Application* GetApplication() {
    return Application::GetCurrent();
}

} // namespace Vemo
