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

// One reported error: its code and its text ("" stands for no text; m_hasText tells them apart).
struct Reported {
    Vemo::ErrorCode m_code = 0;
    std::string m_text;
    bool m_hasText = false;

    Reported() = default;
    Reported(Vemo::ErrorCode code) : m_code(code) {}
    Reported(Vemo::ErrorCode code, const char* text) : m_code(code), m_text(text), m_hasText(true) {}

    bool operator==(const Reported& other) const = default;
};

using Reports = std::vector<Reported>;

inline std::ostream& operator<<(std::ostream& out, const Reported& reported) {
    out << "{0x" << std::hex << reported.m_code << std::dec;
    if (reported.m_hasText) {
        out << ", \"" << reported.m_text << "\"";
    }
    return out << "}";
}

// Whether the reports hold the wanted ones in this order, others in between allowed (the framework reports
// its own steps around a family's errors).
inline bool ReportedInOrder(const Reports& reports, const Reports& wanted) {
    auto at = reports.begin();
    for (const Reported& one : wanted) {
        at = std::find(at, reports.end(), one);
        if (at == reports.end()) {
            return false;
        }
        ++at;
    }
    return true;
}

inline std::string Text(const Vemo::String* text) {
    return text != nullptr ? text->CStr() : "<null>";
}

// The application's error engine of the tests: records each new error before the base makes its handle.
class RecordingErrorEngine : public Vemo::ErrorEngine {
public:
    explicit RecordingErrorEngine(Reports* reports, const char* name = "Recording Error Engine")
        : ErrorEngine(Vemo::kErrorTypeId, name), m_reports(reports) {}

    Vemo::ErrorHandle* CreateErrorHandle(std::uint32_t codeLow, std::uint32_t codeHigh,
                                         const Vemo::String* text) override {
        const Vemo::ErrorCode code = (static_cast<Vemo::ErrorCode>(codeHigh) << 32) | codeLow;
        m_reports->push_back(text != nullptr ? Reported(code, text->CStr()) : Reported(code));
        if (m_failCreate) {
            return nullptr;
        }
        return ErrorEngine::CreateErrorHandle(codeLow, codeHigh, text);
    }

    bool PreShare(Vemo::ResourceHandle* handle, Vemo::Resource* resource) override {
        return !m_failPreShare && ErrorEngine::PreShare(handle, resource);
    }

    bool PostShare(Vemo::ResourceHandle* handle, Vemo::Resource* resource,
                   Vemo::ResourceHandle* shared) override {
        return !m_failPostShare && ErrorEngine::PostShare(handle, resource, shared);
    }

    Reports* m_reports;
    bool m_failCreate = false;
    bool m_failPreShare = false;
    bool m_failPostShare = false;
};

// The application object of the tests: current while it lives, with an Error System and a recording error
// engine unless asked for none. Its destructor shuts down whatever systems it still holds.
class TestApplication : public Vemo::ApplicationSystems {
public:
    enum class ErrorSetup { kRecording, kNoEngine, kNone };

    explicit TestApplication(ErrorSetup setup = ErrorSetup::kRecording) {
        SetCurrent(this);
        if (setup == ErrorSetup::kNone) {
            return;
        }
        m_errorSystem = Vemo::ErrorSystem::Create();
        if (setup == ErrorSetup::kRecording) {
            m_errorEngine = new RecordingErrorEngine(&m_reports);
            Vemo::ErrorEngine::Create(m_errorEngine);
            m_errorSystem->AddEngine(m_errorEngine);
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
        if (m_errorSystem != nullptr) {
            m_errorSystem->Shutdown();
            m_errorSystem = nullptr;
            m_errorEngine = nullptr;
        }
    }

    Vemo::ErrorSystem* ErrorSystem() const { return m_errorSystem; }
    RecordingErrorEngine* ErrorEngine() const { return m_errorEngine; }

    // The errors reported since the last call, oldest first.
    Reports TakeReports() {
        Reports taken;
        taken.swap(m_reports);
        return taken;
    }

private:
    Reports m_reports;
    RecordingErrorEngine* m_errorEngine = nullptr;
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
