// The errors the error system has logged so far, oldest first, as tests read them: every report of a run, or
// those after the first `skip` of them.
#pragma once

#include "resources/SystemAccessors.h"
#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorHandle.h"
#include "resources/error/ErrorSystem.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace VemoTest {

struct ReportedError {
    Vemo::ErrorCode code = 0;
    // Empty for an error reported without a text.
    std::string text;
};

inline std::vector<ReportedError> ReportedErrors(std::uint32_t skip = 0) {
    std::vector<ReportedError> reports;
    Vemo::ErrorSystem* system = Vemo::GetErrorSystem();
    const std::uint32_t count = system != nullptr ? system->GetLog().Count() : 0;
    // The log holds the newest report first.
    for (std::uint32_t i = count - std::min(count, skip); i > 0; --i) {
        const Vemo::ErrorHandle* handle = system->GetLog().At(i - 1);
        reports.push_back({handle->Code(), handle->Text() != nullptr ? handle->Text()->CStr() : ""});
    }
    return reports;
}

inline std::vector<Vemo::ErrorCode> ReportedCodes(std::uint32_t skip = 0) {
    std::vector<Vemo::ErrorCode> codes;
    for (const ReportedError& report : ReportedErrors(skip)) {
        codes.push_back(report.code);
    }
    return codes;
}

inline int ReportsOf(Vemo::ErrorCode code) {
    const std::vector<Vemo::ErrorCode> codes = ReportedCodes();
    return static_cast<int>(std::count(codes.begin(), codes.end(), code));
}

} // namespace VemoTest
