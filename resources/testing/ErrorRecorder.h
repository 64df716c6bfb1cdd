// An Error System whose engine records every reported error (code and text) in order, put into an
// application's systems for as long as the recorder lives: a TestApplication's, or the machine of a program
// on TemporaryDriveStorage that wants to see what its steps reported.
//
//     TemporaryDriveStorage storage("vemo-example-");
//     ErrorRecorder errors(*Vemo::ApplicationSystems::Current());
//     ...
//     EXPECT_EQ(errors.TakeReports(), (Reports{{Vemo::ResourceSystemErrOpenFailed, "Storage System"}}));
#pragma once

#include "resources/ApplicationSystems.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorEngine.h"
#include "resources/error/ErrorHandle.h"
#include "resources/error/ErrorSystem.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace VemoTest {

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

class ErrorRecorder {
public:
    // Gives the systems an Error System of its own; they must have none, and must outlive the recorder.
    explicit ErrorRecorder(Vemo::ApplicationSystems& systems) : m_systems(systems) {
        m_system = Vemo::ErrorSystem::Create();
        m_systems.m_errorSystem = m_system;
        m_engine = new RecordingErrorEngine(&m_reports);
        Vemo::ErrorEngine::Create(m_engine);
        m_system->AddEngine(m_engine);
    }
    ErrorRecorder(const ErrorRecorder&) = delete;
    ErrorRecorder& operator=(const ErrorRecorder&) = delete;

    ~ErrorRecorder() { Shutdown(); }

    // Shuts the Error System down and takes it from the systems, unless its owner (an application that shut
    // its systems down) already did; what was recorded stays.
    void Shutdown() {
        if (m_engine == nullptr) {
            return;
        }
        m_engine = nullptr;
        if (m_systems.m_errorSystem == m_system) {
            m_system->Shutdown();
            m_systems.m_errorSystem = nullptr;
        }
    }

    // Null once shut down.
    RecordingErrorEngine* Engine() const { return m_engine; }

    // The errors reported since the last call, oldest first.
    Reports TakeReports() {
        Reports taken;
        taken.swap(m_reports);
        return taken;
    }

private:
    Vemo::ApplicationSystems& m_systems;
    Vemo::ErrorSystem* m_system = nullptr;
    Reports m_reports;
    RecordingErrorEngine* m_engine = nullptr;
};

} // namespace VemoTest
