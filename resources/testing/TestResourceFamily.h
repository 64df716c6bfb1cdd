// A small resource family for tests, with a test application that carries the error system and records every
// reported error (code and text) in order.
//
//     TestApplication application;                 // current, with an Error System and a recording engine
//     auto* system = TestSystem::Make();           // family kTestFamilyId, named "Test System"
//     auto* engine = TestEngine::Make(kTestEngineId);
//     system->AddEngine(engine);
//     TestResource front;
//     front.Open(system);
//     ...
//     EXPECT_EQ(application.TakeReports(), (Reports{{ResourceSystemErrOpenFailed, "Test System"}}));
//
// Every hook of the engine and the system can be told to fail through its m_fail... switch.
#pragma once

#include "foundation/String.h"
#include "resources/ApplicationSystems.h"
#include "resources/Resource.h"
#include "resources/ResourceEngine.h"
#include "resources/ResourceHandle.h"
#include "resources/ResourceSearchCriterion.h"
#include "resources/ResourceSystem.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorEngine.h"
#include "resources/error/ErrorHandle.h"
#include "resources/error/ErrorSystem.h"
#include "resources/testing/ErrorRecorder.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace VemoTest {

inline constexpr std::uint32_t kTestFamilyId = 0x00070000;
inline constexpr std::uint32_t kTestEngineId = 0x00070001;
inline constexpr std::uint32_t kOtherTestEngineId = 0x00070002;

// The application object of the tests: current while it lives, with an Error System and a recording error
// engine unless asked for none. Its destructor shuts down whatever systems it still holds.
class TestApplication : public Vemo::ApplicationSystems {
public:
    enum class ErrorSetup { kRecording, kNoEngine, kNone };

    explicit TestApplication(ErrorSetup setup = ErrorSetup::kRecording) {
        SetCurrent(this);
        if (setup == ErrorSetup::kRecording) {
            m_errors.emplace(*this);
        } else if (setup == ErrorSetup::kNoEngine) {
            m_errorSystem = Vemo::ErrorSystem::Create();
        }
    }

    ~TestApplication() override {
        if (m_resourceSystem != nullptr) {
            m_resourceSystem->Shutdown();
            m_resourceSystem = nullptr;
        }
        ShutdownErrorSystem();
    }

    void ShutdownErrorSystem() {
        if (m_errors) {
            m_errors->Shutdown();
        } else if (m_errorSystem != nullptr) {
            m_errorSystem->Shutdown();
            m_errorSystem = nullptr;
        }
    }

    Vemo::ErrorSystem* ErrorSystem() const { return m_errorSystem; }
    RecordingErrorEngine* ErrorEngine() const { return m_errors ? m_errors->Engine() : nullptr; }

    // The errors reported since the last call, oldest first.
    Reports TakeReports() { return m_errors ? m_errors->TakeReports() : Reports(); }

private:
    std::optional<ErrorRecorder> m_errors;
};

class TestSearchCriterion : public Vemo::ResourceSearchCriterion {
public:
    explicit TestSearchCriterion(std::uint32_t mode = kSearchQuick, std::uint32_t familyId = kTestFamilyId)
        : ResourceSearchCriterion(familyId, mode) {}

    // Matched by engines whose m_quick / m_thorough accepts it.
    int m_value = 0;
};

// Counts the live handles of the tests, so that a test can see a handle destroyed (or leaked).
inline int g_liveTestHandles = 0;

class TestHandle : public Vemo::ResourceHandle {
public:
    explicit TestHandle(Vemo::ResourceEngine* engine) : ResourceHandle(engine) { ++g_liveTestHandles; }
    ~TestHandle() override { --g_liveTestHandles; }

    void Update() override { ++m_updates; }

    int m_updates = 0;
};

inline int g_liveTestEngines = 0;

class TestEngine : public Vemo::ResourceEngine {
public:
    explicit TestEngine(std::uint32_t typeId = kTestEngineId, const char* name = "Test Engine")
        : ResourceEngine(typeId, name) {
        ++g_liveTestEngines;
    }
    ~TestEngine() override { --g_liveTestEngines; }

    // Through the factory, as an application makes its engines.
    static TestEngine* Make(std::uint32_t typeId = kTestEngineId, const char* name = "Test Engine") {
        return static_cast<TestEngine*>(Create(new TestEngine(typeId, name)));
    }

    Vemo::ResourceHandle* CreateHandle(Vemo::ResourceSearchCriterion*, Vemo::Resource*) override {
        return m_failCreateHandle ? nullptr : new TestHandle(this);
    }
    Vemo::ResourceHandle* ShareHandle(Vemo::ResourceHandle* handle, Vemo::Resource* resource) override {
        if (m_failShareHandle) {
            return nullptr;
        }
        if (m_shareAsNewHandle) {
            return new TestHandle(this);
        }
        return ResourceEngine::ShareHandle(handle, resource);
    }
    bool DestroyHandle(Vemo::ResourceHandle* handle, Vemo::Resource* resource) override {
        return ResourceEngine::DestroyHandle(handle, resource) && !m_failDestroyHandle;
    }
    bool Initialize() override { return !m_failInitialize; }
    bool Terminate() override {
        ++m_terminations;
        return !m_failTerminate;
    }
    bool Activate() override {
        ++m_activations;
        return !m_failActivate;
    }
    bool Deactivate() override {
        ++m_deactivations;
        return !m_failDeactivate;
    }
    bool Attach() override { return !m_failAttach; }
    bool Detach() override { return !m_failDetach; }
    bool PreOpen(Vemo::ResourceSearchCriterion* criterion, Vemo::Resource* resource) override {
        return !m_failPreOpen && ResourceEngine::PreOpen(criterion, resource);
    }
    bool AttachHandle(Vemo::ResourceSearchCriterion* criterion, Vemo::Resource* resource,
                      Vemo::ResourceHandle* handle) override {
        if (m_failAttachHandle) {
            return false;
        }
        return ResourceEngine::AttachHandle(criterion, resource, handle);
    }
    bool PreShare(Vemo::ResourceHandle* handle, Vemo::Resource* resource) override {
        return !m_failPreShare && ResourceEngine::PreShare(handle, resource);
    }
    bool PostShare(Vemo::ResourceHandle* handle, Vemo::Resource* resource,
                   Vemo::ResourceHandle* shared) override {
        return !m_failPostShare && ResourceEngine::PostShare(handle, resource, shared);
    }
    bool DetachHandle(Vemo::ResourceHandle* handle, Vemo::Resource* resource) override {
        return ResourceEngine::DetachHandle(handle, resource) && !m_failDetachHandle;
    }
    bool PostClose(Vemo::ResourceHandle* handle, Vemo::Resource* resource, bool destroyed) override {
        return ResourceEngine::PostClose(handle, resource, destroyed) && !m_failPostClose;
    }
    bool MatchSearchCriterion(Vemo::ResourceSearchCriterion* criterion) override {
        if (!ResourceEngine::MatchSearchCriterion(criterion)) {
            return false;
        }
        auto* test = dynamic_cast<TestSearchCriterion*>(criterion);
        return !m_quick || (test != nullptr && test->m_value == *m_quick);
    }
    bool MatchSearchCriterionThorough(Vemo::ResourceSearchCriterion* criterion) override {
        ++m_thoroughMatches;
        if (!ResourceEngine::MatchSearchCriterionThorough(criterion)) {
            return false;
        }
        auto* test = dynamic_cast<TestSearchCriterion*>(criterion);
        return !m_thorough || (test != nullptr && test->m_value == *m_thorough);
    }

    // When set, the quick or thorough match also wants the criterion's value to equal it.
    std::optional<int> m_quick;
    std::optional<int> m_thorough;
    int m_activations = 0;
    int m_deactivations = 0;
    int m_terminations = 0;
    int m_thoroughMatches = 0;
    bool m_shareAsNewHandle = false;
    bool m_failCreateHandle = false;
    bool m_failShareHandle = false;
    bool m_failDestroyHandle = false;
    bool m_failInitialize = false;
    bool m_failTerminate = false;
    bool m_failActivate = false;
    bool m_failDeactivate = false;
    bool m_failAttach = false;
    bool m_failDetach = false;
    bool m_failPreOpen = false;
    bool m_failAttachHandle = false;
    bool m_failPreShare = false;
    bool m_failPostShare = false;
    bool m_failDetachHandle = false;
    bool m_failPostClose = false;
};

class TestSystem : public Vemo::ResourceSystem {
public:
    explicit TestSystem(std::uint32_t typeId = kTestFamilyId, const char* name = "Test System")
        : ResourceSystem(typeId, name) {}

    static TestSystem* Make(std::uint32_t typeId = kTestFamilyId, const char* name = "Test System") {
        return static_cast<TestSystem*>(Create(new TestSystem(typeId, name)));
    }

    bool Initialize() override { return !m_failInitialize; }
    bool Terminate() override { return !m_failTerminate; }
    bool AddingEngine(Vemo::ResourceEngine*) override { return !m_failAddingEngine; }
    bool EngineRemoved(Vemo::ResourceEngine*) override {
        ++m_enginesRemoved;
        return !m_failEngineRemoved;
    }
    bool PreOpen(Vemo::ResourceSearchCriterion* criterion, Vemo::ResourceEngine* engine,
                 Vemo::Resource* resource) override {
        return !m_failPreOpen && ResourceSystem::PreOpen(criterion, engine, resource);
    }
    bool AttachHandle(Vemo::ResourceSearchCriterion* criterion, Vemo::ResourceEngine* engine,
                      Vemo::Resource* resource, Vemo::ResourceHandle* handle) override {
        return !m_failAttachHandle && ResourceSystem::AttachHandle(criterion, engine, resource, handle);
    }
    bool PreShare(Vemo::ResourceHandle* handle, Vemo::ResourceEngine* engine,
                  Vemo::Resource* resource) override {
        return !m_failPreShare && ResourceSystem::PreShare(handle, engine, resource);
    }
    // The base counts and chains first, so that a failure here has something to undo.
    bool AttachResource(Vemo::ResourceHandle* handle, Vemo::ResourceEngine* engine, Vemo::Resource* resource,
                        Vemo::ResourceHandle* shared) override {
        return ResourceSystem::AttachResource(handle, engine, resource, shared) && !m_failAttachResource;
    }
    bool DetachResource(Vemo::ResourceHandle* handle, Vemo::ResourceEngine* engine,
                        Vemo::Resource* resource) override {
        return !m_failDetachResource && ResourceSystem::DetachResource(handle, engine, resource);
    }
    bool PostClose(Vemo::ResourceHandle* handle, Vemo::ResourceEngine* engine, Vemo::Resource* resource,
                   bool closed) override {
        return ResourceSystem::PostClose(handle, engine, resource, closed) && !m_failPostClose;
    }

    int m_enginesRemoved = 0;
    bool m_failInitialize = false;
    bool m_failTerminate = false;
    bool m_failAddingEngine = false;
    bool m_failEngineRemoved = false;
    bool m_failPreOpen = false;
    bool m_failAttachHandle = false;
    bool m_failPreShare = false;
    bool m_failAttachResource = false;
    bool m_failDetachResource = false;
    bool m_failPostClose = false;
};

// A front-end of the test family. It opens through the system it is given (the family has no accessor) and
// forwards Value to its handle as every front-end forwards its operations.
class TestResource : public Vemo::Resource {
public:
    bool Open(Vemo::ResourceSystem* system, Vemo::ResourceSearchCriterion* criterion = nullptr) {
        TestSearchCriterion fallback;
        Vemo::ResourceHandle* handle = system->Open(criterion != nullptr ? criterion : &fallback, this);
        if (handle == nullptr) {
            return false;
        }
        SetHandle(handle);
        return true;
    }

    bool Share(Vemo::ResourceSystem* system, const TestResource& other) {
        Vemo::ResourceHandle* handle = system->Share(other.GetHandle(), this);
        if (handle == nullptr) {
            return false;
        }
        SetHandle(handle);
        return true;
    }

    // The handle's id; 0 and ResourceSystemErrNoHandle without a handle.
    std::uint32_t Value() const {
        if (GetHandle() == nullptr) {
            RaiseError(Vemo::ResourceSystemErrNoHandle);
            return 0;
        }
        return GetHandle()->GetId();
    }
};

} // namespace VemoTest
