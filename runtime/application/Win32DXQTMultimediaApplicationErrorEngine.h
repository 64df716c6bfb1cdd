// The error engine of the program on Windows: records every error like any error engine and shows it to the
// user in a message box, as the display mode decides:
//   0        the friendly text of the codes the user can act on (its locale key's text, or the built-in one);
//            everything else is only recorded. The first file-not-found box is the last box of the run.
//   1        a detailed report (facility, code and text) of every error of the messenger modules;
//   2        the developer's one-line text of the multimedia application's own errors;
//   other    a detailed report of every error.
// Boxes have the OK button only, are owned by the viewport's window when there is one, and block until
// closed. The engine keeps at most 21 error handles: a report beyond 20 closes the oldest first.
// Whatever the mode, every error is also written as one line on the standard error (product, module, code and
// text), so that a run that fails says what failed and where even when its box only asks the user to try
// again.
#pragma once

#include "foundation/BasicMap.h"
#include "foundation/String.h"
#include "resources/error/ErrorCode.h"
#include "runtime/application/MultimediaApplicationErrorEngine.h"

#include <cstdint>

class Win32DXQTMultimediaApplicationErrorEngine : public MultimediaApplicationErrorEngine {
public:
    static constexpr std::uint32_t kMaxKeptHandles = 20;

    Win32DXQTMultimediaApplicationErrorEngine();
    ~Win32DXQTMultimediaApplicationErrorEngine() override;

    Vemo::ErrorHandle* CreateErrorHandle(std::uint32_t codeLow, std::uint32_t codeHigh,
                                         const Vemo::String* text) override;

    // The box the error gets in the current display mode: its message (empty: no box) and its title (empty:
    // the usual title). The file-not-found text turns the suppression on.
    void Compose(Vemo::ErrorCode code, const Vemo::String* text, Vemo::String& message, Vemo::String& title);
    // Whether every further error is only recorded.
    bool IsSuppressing() const { return m_suppress != 0; }

    // Constructs an engine and runs the error family's factory on it; null (the engine deleted) on failure.
    static Win32DXQTMultimediaApplicationErrorEngine* Create();

private:
    void CloseOldestBeyondLimit();
    void WriteReportLine(Vemo::ErrorCode code, const Vemo::String* text) const;
    void AppendDetailedReport(Vemo::ErrorCode code, const Vemo::String* text, Vemo::String& message) const;
    static void ShowBox(const Vemo::String& message, const Vemo::String& title);

    Vemo::BasicMap<std::uint64_t, Vemo::String> m_facilityNames;
    std::uint8_t m_suppress = 0;
};
