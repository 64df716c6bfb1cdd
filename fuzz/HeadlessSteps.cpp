// The steps file of a scripted headless run (VEMO_HEADLESS_INPUT) from any bytes: either a message naming the
// line that breaks it, or steps whose lines lie within the text and whose values are in their ranges.
#include "platform/win32/headless/HeadlessRunScript.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<win32::HeadlessStep> steps;
    std::string error;
    if (!win32::ParseHeadlessSteps(text, steps, error)) {
        if (error.rfind("line ", 0) != 0) {
            std::abort();
        }
        return 0;
    }
    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    int previous = 0;
    for (const win32::HeadlessStep& step : steps) {
        if (step.line <= previous || step.line > lines) {
            std::abort();
        }
        previous = step.line;
        const bool pointed =
            step.kind == win32::HeadlessStep::Kind::Move || step.kind == win32::HeadlessStep::Kind::Click ||
            step.kind == win32::HeadlessStep::Kind::Down || step.kind == win32::HeadlessStep::Kind::Up;
        if (pointed && (step.x < -32768 || step.x > 32767 || step.y < -32768 || step.y > 32767)) {
            std::abort();
        }
        if (step.kind == win32::HeadlessStep::Kind::Key && (step.value <= 0 || step.value > 255)) {
            std::abort();
        }
        if (step.kind == win32::HeadlessStep::Kind::Snapshot && step.file.empty()) {
            std::abort();
        }
    }
    return 0;
}
