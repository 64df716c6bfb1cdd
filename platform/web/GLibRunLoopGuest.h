// GLib's default main context run by the program's run loop (platform/win32/windows/RunLoopPacing.h): drained
// without blocking at the end of every application step, and its descriptors and timeouts waking the sleep
// between steps.
#pragma once

#include "platform/win32/windows/RunLoopPacing.h"

#include <glib.h>

#include <functional>
#include <vector>

namespace web {

class GLibRunLoopGuest final : public win32::RunLoopGuest {
public:
    // afterDrain runs after each drain.
    explicit GLibRunLoopGuest(std::function<void()> afterDrain) : m_afterDrain(std::move(afterDrain)) {}

    // Dispatches what is ready, again and again until nothing is (at most kMostIterations times: a context
    // that always has work must not keep the title from its step).
    void Drain() override;
    int PrepareWait(std::vector<Descriptor>& descriptors) override;
    void FinishWait(const std::vector<Descriptor>& descriptors) override;

    static constexpr int kMostIterations = 200;

private:
    std::function<void()> m_afterDrain;
    std::vector<GPollFD> m_polled;
    gint m_priority = 0;
    bool m_acquired = false;
};

} // namespace web
