#include "platform/win32/kernel/Debug.h"

#include "platform/win32/KernelRegion.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace win32 {

namespace {

struct Sink {
    std::mutex lock;
    seam::DebugOutputSink sink = nullptr;
    void* context = nullptr;
};

Sink& TheSink() {
    static Sink* sink = new Sink;
    return *sink;
}

} // namespace

void OutputDebugStringA(LPCSTR text) {
    if (text == nullptr) {
        return;
    }
    detail::RunInKernelRegion([&] {
        Sink& sink = TheSink();
        std::lock_guard guard(sink.lock);
        if (sink.sink != nullptr) {
            sink.sink(sink.context, text);
        }
    });
    if (std::getenv("VEMO_DEBUG_OUTPUT") != nullptr) {
        std::fputs(text, stderr);
        std::fflush(stderr);
    }
}

namespace seam {

void InstallDebugOutputSink(DebugOutputSink sink, void* context, DebugOutputSink* previousSink,
                            void** previousContext) {
    detail::RunInKernelRegion([&] {
        Sink& current = TheSink();
        std::lock_guard guard(current.lock);
        if (previousSink != nullptr) {
            *previousSink = current.sink;
        }
        if (previousContext != nullptr) {
            *previousContext = current.context;
        }
        current.sink = sink;
        current.context = context;
    });
}

} // namespace seam

} // namespace win32
